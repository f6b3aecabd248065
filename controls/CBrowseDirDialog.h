#pragma once
// The folder picker of the save command: the platform's folder browser,
// showing file-system folders only, titled in the chosen language.

#include <QString>

class CBrowseDirDialog {
public:
    // The browser's title: this text of the language file's "UIText" section.
    static constexpr int kTitleText = 29;

    // The flag and the title play no part in browsing.
    CBrowseDirDialog(bool flag, const QString& title);

    // Shows the browser, starting at `m_strRoot` (the top of the file system
    // when empty). True with `m_strPath` set to the chosen folder; false when
    // the user cancels, or at once when `m_strRoot` names no folder.
    bool Browse();

    QString m_strPath;
    QString m_strRoot;
    // The image of the chosen folder in the folder browser's icon set; every
    // folder has the one folder image, 0.
    int m_nImage = 0;
};
