#pragma once

#include <QDialog>

class DownloadUi;
class QLabel;
class QPushButton;
class QTableWidget;
struct SetEntry;
struct SetPlan;

// "Carica più file": the plan of a set before anything is sent, a row per file (its name, length, track
// and the part kept), what the plan does to the player under it, and "Carica tutti" to agree to it once.
// "Modifica..." opens the track window for the selected file; what the user accepts there is the entry's
// prepared part, sent as it was heard.
class CPlanDlg : public QDialog
{
    Q_OBJECT

public:
    // ui opens the track window. plan is changed in place: the parts chosen, a file that fails meanwhile.
    CPlanDlg(SetPlan& plan, DownloadUi& ui, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QPushButton* editButton() const { return m_edit; }

    // The track window for the file of row.
    void edit(int row);

private:
    void buildLayout();
    void showRow(int row);
    void selectionChanged();
    SetEntry* entryAt(int row) const;
    // A part can be chosen for a file that is loaded into a track.
    bool editable(int row) const;

    SetPlan& m_plan;
    DownloadUi& m_ui;
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_load = nullptr;
};
