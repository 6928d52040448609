#pragma once

#include "RecordingUi.h"
#include "ScriptedHidBackend.h"

#include "app/CPlayerApp.h"
#include "sim/FaultInjectingPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

// An application object with its device link on a simulated or scripted player, and the helpers to watch
// what the link posts.
class LinkFixture : public ::testing::Test
{
protected:
    using Clock = std::chrono::steady_clock;

    void TearDown() override { app.CloseDevice(); }

    FaultInjectingPlayer& useSimulatedPlayer();
    ScriptedHidBackend::State& useScriptedPlayer();

    // The link posts to the diagnostics window and the main window only while they listen; these listen in
    // their place. The diagnostics' messages are kept for drainDiagnostics, the main window's are left to
    // the queries (or to mainWindowMessages).
    void listenAsDiagnostics();
    void listenAsMainWindow();

    std::optional<UiMessage> next(std::uint32_t message,
                                  std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));
    // The messages of the diagnostics window, in order, until none arrives for quietFor.
    std::vector<UiMessage>
    drainDiagnostics(std::chrono::milliseconds quietFor = std::chrono::milliseconds(150));

    RecordingUi ui;
    CPlayerApp app;
    std::vector<UiMessage> diagnosticsMessages;
    std::vector<UiMessage> mainWindowMessages;
};
