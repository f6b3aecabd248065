#include "MainApp/setkey/HotkeyButton.h"

#include "MainApp/hotkey/HotkeyArming.h"
#include "MainApp/setkey/CDlgSetKey.h"

void OnHotkeyButton(QWidget* mainWindow, int skinIndex, std::uint32_t skinColor,
                    hotkey::IHotkeyWindow* hotkeyWindow, const hotkey::PostToUi& postToUi) {
    CDlgSetKey dialog(skinIndex, skinColor, mainWindow);
    dialog.exec();
    hotkey::ArmHotkeys(hotkeyWindow, postToUi);
}
