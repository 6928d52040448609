#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Messages that travel from the device link to the windows of the user-interface thread. Their data is
// owned by the message, so whoever ends up with it (a window's handler, a query, or the queue dropping a
// message whose window is gone) frees it simply by letting it go.
inline constexpr std::uint32_t WM_DIAG_READ = 0x0401;
inline constexpr std::uint32_t WM_DIAG_WRITE = 0x0402;
inline constexpr std::uint32_t WM_DEVICE_REPORT = 0x0481;
inline constexpr std::uint32_t WM_DEVICE_BUSY = 0x0487;
// The playing state changed: wParam is the flag of the status report. The reader posts it instead of
// setting the play button's caption itself, so it never waits on the user-interface thread.
inline constexpr std::uint32_t WM_PLAY_STATE = 0x0488;

// Number of payload bytes a WM_DEVICE_REPORT carries: report bytes 2 to 63, then two spare bytes.
inline constexpr std::size_t kReportRecordSize = 64;

enum class UiTarget
{
    MainWindow,
    DiagnosticsDialog,
};

struct UiMessage
{
    UiTarget target = UiTarget::MainWindow;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    // A copy of report bytes (WM_DIAG_READ, WM_DIAG_WRITE with lParam 0) or the report record
    // (WM_DEVICE_REPORT).
    std::vector<std::uint8_t> bytes;
    // A status text (WM_DIAG_WRITE with lParam 1).
    std::string text;
};
