#pragma once

class HidBackend;

// What the benchmarks of paced downloads share.
namespace PacedBus {

// Reports on the bus for each block a download writes: two halves, the commit and its acknowledgement.
constexpr int kReportsPerBlock = 4;

// Seconds the simulated bus alone takes for blocks, each block's three reports written and its
// acknowledgement read on one thread, with none of the program's code in between: what the machine's timers
// add to every paced report. player is the simulated player, or a backend that hands its handles on; it must
// not be open elsewhere meanwhile.
double busAloneSeconds(HidBackend& player, int blocks);

} // namespace PacedBus
