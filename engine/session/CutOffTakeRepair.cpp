#include "engine/session/CutOffTakeRepair.h"

#include "engine/WavHeader.h"
#include "engine/session/RunningTake.h"
#include "engine/session/SessionMessages.h"
#include "lang/LangText.h"
#include "util/MessageBox.h"

namespace engine {

void OfferCutOffTakeRepair() {
    const std::optional<std::string> path = CutOffTakePath();
    if (!path) {
        return;
    }
    ForgetRunningTake();
    if (!IsTakeWavFile(*path)) {
        return; // removed or replaced since
    }
    const std::string question =
        lang::GetLangString("Message", kMsgRepairCutOffTake) + "\n" + *path;
    if (util::ShowMessageBox(question, util::MB_OKCANCEL | util::MB_ICONQUESTION) == util::IDOK &&
        !PatchWavSizes(*path)) {
        ShowSessionMessage(kMsgWriteFailed);
    }
}

} // namespace engine
