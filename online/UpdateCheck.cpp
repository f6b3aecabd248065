#include "online/UpdateCheck.h"

#include "lang/LanguageFiles.h"
#include "online/DownloadFile.h"
#include "online/FoundUrl.h"
#include "online/UpdateFiles.h"
#include "platform/profile/ProfileString.h"
#include "platform/shell/Shell.h"
#include "util/FileVersion.h"
#include "util/FilesEqual.h"
#include "util/MessageBox.h"
#include "util/TempFileName.h"

#include <cstdio>
#include <filesystem>

namespace online {

namespace {

// The number of the question's text in section "Update" of the language file.
constexpr int kQuestionTextNumber = 6;

// Downloads `url` into a fresh temporary ".ini" file; its path, or empty when
// the download failed (the temporary file is then removed at once).
std::string DownloadToTemporaryIni(const std::string& url) {
    std::string temporary = util::CreateTempFile("ini");
    if (temporary.empty()) {
        return {};
    }
    if (!DownloadFile(url, temporary, kIniDownload)) {
        std::remove(temporary.c_str());
        return {};
    }
    return temporary;
}

} // namespace

UpdateCheck::UpdateCheck(OnlineSite site, std::string product, ExitFunction exitProcess)
    : m_site(std::move(site)), m_product(std::move(product)),
      m_exitProcess(std::move(exitProcess)) {}

void UpdateCheck::RunCheck(const std::shared_ptr<UpdateCheck>& self, DetachedTasks& tasks) const {
    RefreshUpdater();
    if (UpdateWaiting()) {
        if (UserAgrees()) {
            StartUpdater();
            m_exitProcess(0);
        }
        return;
    }
    tasks.Run("update", [self] { self->RunDescription(); });
}

void UpdateCheck::RunDescription() const {
    const std::string temporary = DownloadToTemporaryIni(ServerFile(kUpdateDescriptionFile));
    if (temporary.empty()) {
        return;
    }
    const std::string local = LocalFile(kUpdateDescriptionFile);
    if (util::FilesEqual(temporary, local)) {
        std::remove(temporary.c_str());
        return;
    }
    std::remove(local.c_str());
    std::error_code error;
    std::filesystem::copy_file(temporary, local, std::filesystem::copy_options::overwrite_existing,
                               error);
    std::remove(temporary.c_str());
    if (UserAgrees()) {
        StartUpdater();
    } else {
        // Without the description the next start fetches it and asks again.
        std::remove(local.c_str());
    }
}

void UpdateCheck::RefreshUpdater() const {
    std::optional<FoundUrl> updater =
        OpenFoundUrl(ServerFile(kUpdaterFile), kUpdaterDownload.deadlineMs);
    if (!updater) {
        return;
    }
    const std::string versionFile = DownloadToTemporaryIni(ServerFile(kVersionFile));
    if (versionFile.empty()) {
        return;
    }
    const std::string serverVersion =
        platform::GetPrivateProfileString("VER", "update", "1.0.0.1", versionFile);
    std::remove(versionFile.c_str());
    const std::string localUpdater = LocalFile(kUpdaterFile);
    if (serverVersion == util::GetFileVersion(localUpdater)) {
        return;
    }
    updater.reset();
    DownloadFile(ServerFile(kUpdaterFile), localUpdater, kUpdaterDownload);
}

bool UpdateCheck::UpdateWaiting() const {
    std::error_code error;
    const std::filesystem::directory_iterator entries(LocalFile(kWaitingUpdateFolder), error);
    return !error && entries != std::filesystem::directory_iterator();
}

bool UpdateCheck::UserAgrees() const {
    const std::string question =
        lang::LanguageFiles(m_site.programFolder).LangString("Update", kQuestionTextNumber);
    return util::ShowMessageBox(question, util::MB_YESNO | util::MB_ICONINFORMATION) == util::IDYES;
}

void UpdateCheck::StartUpdater() const {
    platform::Shell().Start(LocalFile(kUpdaterFile), {}, m_site.workFolder);
}

std::string UpdateCheck::ServerFile(const char* file) const {
    return m_site.serverAddress + "/update/" + m_product + "/" + file;
}

std::string UpdateCheck::LocalFile(const char* file) const {
    return m_site.workFolder + file;
}

} // namespace online
