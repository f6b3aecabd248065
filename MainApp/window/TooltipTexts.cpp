#include "MainApp/window/TooltipTexts.h"

#include "lang/LangText.h"

namespace window {
namespace {

std::string JoinTips(int firstKey, int lastKey) {
    std::string text = lang::GetLangString("Tip", firstKey);
    for (int key = firstKey + 1; key <= lastKey; ++key) {
        text += "\r\n";
        text += lang::GetLangString("Tip", key);
    }
    return text;
}

} // namespace

std::vector<std::pair<int, std::string>> MainWindowTips() {
    return {
        {1033, JoinTips(1, 1)},   {1034, JoinTips(2, 2)},   {1006, JoinTips(3, 3)},
        {1010, JoinTips(4, 4)},   {1011, JoinTips(5, 5)},   {1012, JoinTips(6, 6)},
        {1013, JoinTips(7, 7)},   {1015, JoinTips(8, 9)},   {1035, JoinTips(10, 10)},
        {1036, JoinTips(11, 11)}, {1044, JoinTips(12, 12)}, {1002, JoinTips(13, 19)},
    };
}

} // namespace window
