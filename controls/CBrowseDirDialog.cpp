#include "controls/CBrowseDirDialog.h"

#include "lang/LangText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

CBrowseDirDialog::CBrowseDirDialog(bool /*flag*/, const QString& /*title*/) {}

bool CBrowseDirDialog::Browse() {
    if (!m_strRoot.isEmpty() && !QFileInfo(m_strRoot).isDir()) {
        return false;
    }
    const QString start = m_strRoot.isEmpty() ? QDir::rootPath() : m_strRoot;
    // The title is the language file's, so no built-in English one shows.
    const QString title = QString::fromStdString(lang::GetLangString("UIText", kTitleText));
    const QString chosen =
        QFileDialog::getExistingDirectory(nullptr, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return false;
    }
    m_strPath = QDir::cleanPath(chosen);
    m_nImage = 0;
    return true;
}
