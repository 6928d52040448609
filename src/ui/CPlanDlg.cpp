#include "ui/CPlanDlg.h"

#include "download/DownloadUi.h"
#include "download/TrackSet.h"
#include "download/TrackSource.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column
{
    kName,
    kLength,
    kTrack,
    kPart,
    kColumns,
};

} // namespace

CPlanDlg::CPlanDlg(SetPlan& plan, DownloadUi& ui, QWidget* parent) : QDialog(parent), m_plan(plan), m_ui(ui)
{
    setWindowTitle(tr("Carica più file"));
    buildLayout();
    for (int row = 0; row < m_table->rowCount(); ++row) {
        showRow(row);
    }
    m_table->resizeColumnsToContents();
    // The first file whose part can be chosen, so that "Modifica..." is at hand from the keyboard.
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (editable(row)) {
            m_table->selectRow(row);
            break;
        }
    }
    selectionChanged();
    m_table->setFocus();
}

void CPlanDlg::buildLayout()
{
    auto* intro = new QLabel(tr("Questi file andranno nel lettore, uno per brano:"));
    m_table = new QTableWidget(static_cast<int>(m_plan.entries.size()), kColumns);
    m_table->setHorizontalHeaderLabels({tr("File"), tr("Durata"), tr("Brano"), tr("Parte caricata")});
    m_table->setAccessibleName(tr("File da caricare"));
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table for the buttons; the arrows move between the files.
    m_table->setTabKeyNavigation(false);
    intro->setBuddy(m_table);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &CPlanDlg::selectionChanged);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { edit(row); });

    m_summary = new QLabel(m_plan.summary());
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox;
    m_edit = buttons->addButton(tr("&Modifica..."), QDialogButtonBox::ActionRole);
    m_edit->setToolTip(
        tr("Sceglie nella finestra del brano la parte del file selezionato che va nel lettore."));
    m_edit->setAutoDefault(false);
    m_load = buttons->addButton(tr("Carica tutti"), QDialogButtonBox::AcceptRole);
    m_load->setDefault(true);
    buttons->addButton(tr("Annulla"), QDialogButtonBox::RejectRole);
    connect(m_edit, &QPushButton::clicked, this, [this] { edit(m_table->currentRow()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_table);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(560, sizeHint().height());
}

SetEntry* CPlanDlg::entryAt(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_plan.entries.size())) {
        return nullptr;
    }
    return &m_plan.entries[static_cast<std::size_t>(row)];
}

bool CPlanDlg::editable(int row) const
{
    const SetEntry* entry = entryAt(row);
    return entry && entry->loadable() && entry->source;
}

void CPlanDlg::showRow(int row)
{
    const SetEntry& entry = *entryAt(row);
    const QString texts[kColumns] = {QFileInfo(entry.path).fileName(), SetPlan::lengthText(entry),
                                     m_plan.trackText(entry), m_plan.partText(entry)};
    for (int column = 0; column < kColumns; ++column) {
        QTableWidgetItem* item = m_table->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            m_table->setItem(row, column, item);
        }
        item->setText(texts[column]);
        item->setToolTip(texts[column]);
    }
}

void CPlanDlg::selectionChanged()
{
    m_edit->setEnabled(editable(m_table->currentRow()) && !m_table->selectedItems().isEmpty());
    m_load->setEnabled(std::any_of(m_plan.entries.begin(), m_plan.entries.end(),
                                   [](const SetEntry& entry) { return entry.loadable(); }));
}

void CPlanDlg::edit(int row)
{
    if (!editable(row)) {
        return;
    }
    SetEntry& entry = *entryAt(row);
    TrackSource& source = *entry.source;
    const TrackSlot slot = m_plan.slotOf(entry);
    // As a single file's load starts it, from where the plan placed the part, or from what was chosen here
    // before.
    TrackPart initial;
    if (entry.prepared) {
        initial = entry.prepared->part;
    } else {
        initial.start = entry.part.start;
        initial.length = slot.capacity();
        initial.fadeOut = TrackPart::kCutFade;
        initial.normalise = entry.request.normalise.value_or(!source.playerSamples());
    }
    source.startReading();
    std::optional<PreparedTrack> prepared = m_ui.prepareTrack(source, slot, initial);
    if (const TrackSource::Progress read = source.progress(); read.state == TrackSource::State::Failed) {
        // The file cannot go into the player after all: it is skipped rather than failing the set.
        m_ui.messageBox(read.error, MessageIcon::Error);
        entry.error = read.error;
        entry.track = -1;
        entry.prepared.reset();
        m_summary->setText(m_plan.summary());
    } else if (prepared) {
        entry.prepared = std::move(prepared);
    }
    showRow(row);
    selectionChanged();
}
