#include "RecordingUi.h"

namespace {

class RecordedProgress : public ProgressIndicator
{
public:
    explicit RecordedProgress(RecordingUi::Progress& record) : m_record(record) { m_record.open = true; }
    ~RecordedProgress() override { m_record.open = false; }
    void SetPos(int pos) override { m_record.positions.push_back(pos); }
    void SetDetail(const QString& detail) override { m_record.detail = detail; }
    bool stopRequested() const override
    {
        return m_record.stopAfter >= 0 &&
               m_record.positions.size() >= static_cast<std::size_t>(m_record.stopAfter);
    }

private:
    RecordingUi::Progress& m_record;
};

} // namespace

std::unique_ptr<ProgressIndicator> RecordingUi::createProgress(const QString& text, int upper)
{
    progress.push_back({text, {}, upper, {}, false, stopAfterPositions});
    return std::make_unique<RecordedProgress>(progress.back());
}
