#pragma once
// At the window's start: a WAV take that was cut off (see RunningTake.h) is
// offered for repair. The question names the file; OK sets its header's sizes
// from its length. Either way the entry goes, so the question comes once.

namespace engine {

void OfferCutOffTakeRepair();

} // namespace engine
