#pragma once

#include "download/LoadResult.h"
#include "download/TrackPart.h"
#include "download/TrackSlot.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class TrackSource;

// Several files loaded in one go, into the chosen track and the ones after it. Each file is opened and looked
// at before anything is asked; the plan says where each goes and what of it is kept, and the user agrees to
// it once.
struct SetEntry
{
    QString path;
    QString title; // the track's name on the player: the file's name without its extension
    QString error; // why the file cannot be loaded, for the user; it then takes no track
    double seconds = 0;
    int track = -1; // from 0; -1 when the file cannot be loaded or no track is left for it
    PartRequest request;
    TrackPart part; // what the slot keeps of it, in samples: the file's start unless chosen otherwise
    // The bytes the user heard and accepted in the track window, when the part was chosen there.
    std::optional<PreparedTrack> prepared;
    std::shared_ptr<TrackSource> source;

    bool loadable() const { return error.isEmpty() && track >= 0; }
};

struct SetPlan
{
    Q_DECLARE_TR_FUNCTIONS(SetPlan)

public:
    // The files in the order given, opened (readable ones take tracks from firstTrack on). The partition
    // is partitionMode; unless it is fixed, one that cannot take them all gives way to the one that does
    // with the longest slots, and to 8 tracks when none does.
    static SetPlan make(const QStringList& paths, int firstTrack, int partitionMode, bool partitionFixed,
                        const PartRequest& request = {});

    int partitionMode = 0;
    int firstTrack = 0;
    std::vector<SetEntry> entries;
    // Filled in by whoever knows the player: the names of the tracks it holds that the set erases by
    // dividing the memory anew.
    QStringList erasedNames;

    TrackSlot slotOf(const SetEntry& entry) const;
    int loadableCount() const;
    // The part the slot would keep of a file of this entry, in the player's samples.
    void placePart(SetEntry& entry) const;

    // One place for the texts both front ends show of a plan.
    //
    // "Brano 2 di 4"; "—" for none.
    QString trackText(const SetEntry& entry) const;
    // "0:11"; "?" when the file does not say.
    static QString lengthText(const SetEntry& entry);
    // "tutto", "0:00–0:11,9 (taglio)", or why nothing.
    QString partText(const SetEntry& entry) const;
    // What the plan does to the player, in sentences: the partition, what it erases, what does not fit.
    QString summary() const;
    // The whole plan as lines of text: a line per file, then the summary.
    QString text() const;
};

// How a set's load ended, file by file.
struct SetOutcome
{
    Q_DECLARE_TR_FUNCTIONS(SetOutcome)

public:
    enum class State
    {
        NotSent,
        Complete,
        CutShort, // stopped or failed in the middle: the slot holds what was sent, closed with its end marks
        Skipped,  // not loadable: it took no track
    };
    struct File
    {
        QString title;
        int track = -1;
        int trackCount = 0;
        State state = State::NotSent;
        std::uint32_t samplesSent = 0; // what reached the slot
        QString why;                   // why a file was skipped
    };

    std::vector<File> files;
    // Why the set stopped before its end, for the user: empty when the user stopped it.
    QString reason;
    bool stopped = false;
    // Nothing was sent: the plan was declined, or nothing in it could be loaded.
    bool declined = false;
    // How the file that ended the set early ended; Done when none did.
    LoadResult ended = LoadResult::Done;

    int count(State state) const;
    bool complete() const;
    // One line per file ("Completo: "A" nel brano 1 di 4."), then the reason when there is one.
    QString report() const;
};
