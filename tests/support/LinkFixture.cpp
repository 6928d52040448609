#include "LinkFixture.h"

FaultInjectingPlayer& LinkFixture::useSimulatedPlayer()
{
    auto player = std::make_unique<FaultInjectingPlayer>();
    FaultInjectingPlayer& result = *player;
    app.SetBackend(std::move(player));
    app.SetUi(&ui);
    return result;
}

ScriptedHidBackend::State& LinkFixture::useScriptedPlayer()
{
    auto backend = std::make_unique<ScriptedHidBackend>();
    ScriptedHidBackend::State& result = backend->state();
    app.SetBackend(std::move(backend));
    app.SetUi(&ui);
    return result;
}

void LinkFixture::listenAsDiagnostics()
{
    app.Messages().setHandler(UiTarget::DiagnosticsDialog, [this](UiMessage& message) {
        diagnosticsMessages.push_back(std::move(message));
    });
}

void LinkFixture::listenAsMainWindow()
{
    app.Messages().setHandler(UiTarget::MainWindow, [this](UiMessage& message) {
        mainWindowMessages.push_back(std::move(message));
    });
}

std::optional<UiMessage> LinkFixture::next(std::uint32_t message, std::chrono::milliseconds timeout)
{
    return app.Messages().take(message, Clock::now() + timeout);
}

std::vector<UiMessage> LinkFixture::drainDiagnostics(std::chrono::milliseconds quietFor)
{
    do {
        app.Messages().dispatchPending();
    } while (app.Messages().waitPending(Clock::now() + quietFor));
    return std::exchange(diagnosticsMessages, {});
}
