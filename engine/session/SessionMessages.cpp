#include "engine/session/SessionMessages.h"

#include "lang/LangText.h"
#include "util/MessageBox.h"

namespace engine {

int ShowSessionMessage(SessionMessage number) {
    return util::ShowMessageBox(lang::GetLangString("Message", number), util::MB_ICONINFORMATION);
}

int ShowSessionMessage(SessionMessage number, const std::string& detail) {
    return util::ShowMessageBox(lang::GetLangString("Message", number) + "\n" + detail,
                                util::MB_ICONINFORMATION);
}

bool AskSessionQuestion(SessionMessage number) {
    return util::ShowMessageBox(lang::GetLangString("Message", number),
                                util::MB_OKCANCEL | util::MB_ICONQUESTION) == util::IDOK;
}

} // namespace engine
