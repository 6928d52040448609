#include "LinkFixture.h"

namespace {
int g_standIn;
}

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

void LinkFixture::pretendDiagnosticsOpen()
{
    app.m_pDiagDlg = reinterpret_cast<CDiagnosticsDlg*>(&g_standIn);
}

void LinkFixture::pretendMainWindowOpen()
{
    app.m_pMainWnd = reinterpret_cast<CPlayerDlg*>(&g_standIn);
}

std::optional<UiMessage> LinkFixture::next(std::uint32_t message, std::chrono::milliseconds timeout)
{
    return app.Messages().take(message, Clock::now() + timeout);
}

std::vector<UiMessage> LinkFixture::drainDiagnostics(std::chrono::milliseconds quietFor)
{
    std::vector<UiMessage> result;
    app.Messages().setHandler(UiTarget::DiagnosticsDialog,
                              [&result](UiMessage& message) { result.push_back(std::move(message)); });
    do {
        app.Messages().dispatchPending();
    } while (app.Messages().waitPending(Clock::now() + quietFor));
    app.Messages().clearHandler(UiTarget::DiagnosticsDialog);
    return result;
}
