#include "disc/DiscMessage.h"

#include "lang/LangText.h"

namespace disc {

int ShowDiscMessage(int key, unsigned buttons) {
    return util::ShowMessageBox(lang::GetLangString("Message", key),
                                buttons | util::MB_ICONINFORMATION);
}

void ShowDiscMessage(int key, const std::string& detail) {
    util::ShowMessageBox(lang::GetLangString("Message", key) + "\n" + detail,
                         util::MB_ICONINFORMATION);
}

} // namespace disc
