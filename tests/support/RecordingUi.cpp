#include "RecordingUi.h"

namespace {

class RecordedProgress : public ProgressIndicator
{
public:
    explicit RecordedProgress(RecordingUi::Progress& record) : m_record(record) { m_record.open = true; }
    ~RecordedProgress() override { m_record.open = false; }
    void SetPos(int pos) override { m_record.positions.push_back(pos); }
    void SetDetail(const QString& detail) override { m_record.detail = detail; }

private:
    RecordingUi::Progress& m_record;
};

} // namespace

std::unique_ptr<ProgressIndicator> RecordingUi::createProgress(const QString& text, int upper)
{
    progress.push_back({text, {}, upper, {}, false});
    return std::make_unique<RecordedProgress>(progress.back());
}
