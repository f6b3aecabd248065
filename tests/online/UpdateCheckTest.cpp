// The update check end to end: CUpdate's threads against a real HTTP server on
// the loopback address, a program folder of its own, scripted answers to the
// question, a recording shell service and a recorded exit.

#include "online/CUpdate.h"
#include "tests/online/LoopbackTest.h"
#include "tests/support/ElfBuilder.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "util/FileVersion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace {

using Reply = testsupport::LocalHttpServer::Reply;
using Request = testsupport::RecordingShell::Request;
namespace fs = std::filesystem;

constexpr const char* kQuestion = "A new version is ready. Install it now?";

std::string Updater(const std::string& version) {
    const std::vector<std::uint8_t> image =
        testsupport::ElfBuilder(true, false)
            .AddNotes({testsupport::ElfBuilder::VersionNote(version)})
            .Build();
    return std::string(image.begin(), image.end());
}

class UpdateCheckTest : public onlinetest::LoopbackTest {
protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        m_temp.Write("Lang/lang.ini", "[Language]\nLanFile1=eng\n");
        m_temp.Write("Lang/eng.ini", std::string("[Update]\n6=") + kQuestion + "\n");
        // Temporary files go to a folder of the test's own, to see them all removed.
        fs::create_directory(m_temp.File("tmp"));
        const char* previous = std::getenv("TMPDIR");
        m_savedTmpDir = previous != nullptr ? std::optional<std::string>(previous) : std::nullopt;
        ::setenv("TMPDIR", m_temp.File("tmp").c_str(), 1);
    }
    void TearDown() override {
        // An empty TMPDIR would send the next test's folders into the working folder.
        if (m_savedTmpDir) {
            ::setenv("TMPDIR", m_savedTmpDir->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        LoopbackTest::TearDown();
    }

    void ServeUpdate(const std::string& file, const std::string& body, Reply reply = Reply::Whole) {
        m_server.Serve("/update/sondrel/" + file, body, reply);
    }
    int Requests(const std::string& file) const {
        return m_server.RequestCount("/update/sondrel/" + file);
    }

    // One start of the program: the check and whatever it starts, to their end.
    void RunCheck(std::vector<int> answers, const std::string& serverAddress) {
        testsupport::ScriptedMessageBox messages(std::move(answers), util::IDNO);
        const testsupport::ScopedMessageBoxHost host(messages);
        online::CUpdate update({m_temp.Path(), serverAddress, m_temp.Path()}, [this](int exitCode) {
            const std::lock_guard lock(m_mutex);
            m_exitCodes.push_back(exitCode);
        });
        EXPECT_TRUE(update.Start("sondrel"));
        ASSERT_TRUE(update.WaitForChecks(std::chrono::seconds(60)));
        for (const auto& shown : messages.ShownMessages()) {
            EXPECT_EQ(shown.text, kQuestion);
            EXPECT_EQ(shown.style, util::MB_YESNO | util::MB_ICONINFORMATION);
        }
        m_questions += static_cast<int>(messages.ShownCount());
    }
    void RunCheck(std::vector<int> answers = {}) {
        RunCheck(std::move(answers), m_server.Address());
    }

    Request UpdaterStart() const { return {"start", m_temp.File("update"), {}, m_temp.Path()}; }
    bool TemporaryFolderEmpty() const { return fs::is_empty(m_temp.File("tmp")); }

    testsupport::RecordingShell m_shell;
    std::optional<std::string> m_savedTmpDir;
    std::mutex m_mutex;
    std::vector<int> m_exitCodes;
    int m_questions = 0;
};

TEST_F(UpdateCheckTest, MissingUpdaterOnTheServerSkipsTheRefreshButAWaitingUpdateIsOffered) {
    ServeUpdate("update", "gone", Reply::NotFound);
    ServeUpdate("filever.ini", "[VER]\nupdate=2.0.0.0\n");
    ServeUpdate("update.ini", "[Files]\n");
    m_temp.Write("update.d/Sondrel", "new program");

    RunCheck({util::IDNO});
    EXPECT_EQ(m_questions, 1);
    EXPECT_TRUE(m_shell.Requests().empty());
    EXPECT_TRUE(m_exitCodes.empty());

    RunCheck({util::IDYES});
    EXPECT_EQ(m_questions, 2);
    EXPECT_EQ(m_shell.Requests(), std::vector<Request>{UpdaterStart()});
    EXPECT_EQ(m_exitCodes, std::vector<int>{0});

    EXPECT_EQ(Requests("update"), 2);
    EXPECT_EQ(Requests("filever.ini"), 0);
    EXPECT_EQ(Requests("update.ini"), 0);
    EXPECT_FALSE(fs::exists(m_temp.File("update")));
}

TEST_F(UpdateCheckTest, UpdaterWithoutVersionIsReplacedAndNoMeansAskAgainNextStart) {
    const std::string serverUpdater = Updater("2.0.0.0");
    ServeUpdate("update", serverUpdater);
    ServeUpdate("filever.ini", "[VER]\nupdate=2.0.0.0\n");
    ServeUpdate("update.ini", "[Files]\nSondrel=2.0\n");
    m_temp.Write("update", "#!/bin/sh\n");

    RunCheck({util::IDNO});
    EXPECT_EQ(m_temp.Read("update"), serverUpdater);
    EXPECT_EQ(util::GetFileVersion(m_temp.File("update")), "2.0.0.0");
    EXPECT_NE(fs::status(m_temp.File("update")).permissions() & fs::perms::owner_exec,
              fs::perms::none);
    EXPECT_EQ(m_questions, 1);
    EXPECT_FALSE(fs::exists(m_temp.File("update.ini")));

    // The updater is current now; the description is offered again.
    RunCheck({util::IDYES});
    EXPECT_EQ(m_questions, 2);
    EXPECT_EQ(m_shell.Requests(), std::vector<Request>{UpdaterStart()});
    EXPECT_TRUE(m_exitCodes.empty());
    EXPECT_EQ(m_temp.Read("update.ini"), "[Files]\nSondrel=2.0\n");

    // The same description again: no question.
    RunCheck({});
    EXPECT_EQ(m_questions, 2);
    EXPECT_EQ(Requests("filever.ini"), 3);
    EXPECT_EQ(Requests("update"), 3 + 1); // three status queries, one download
    EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateCheckTest, VersionFileWithoutVerSectionComparesTheDefaultVersion) {
    ServeUpdate("update", Updater("3.0.0.0") + "with more bytes");
    ServeUpdate("filever.ini", "[Version]\nupdate=3.0.0.0\n");
    ServeUpdate("update.ini", "[Files]\n");
    const std::string defaultVersioned = Updater("1.0.0.1");
    m_temp.Write("update", defaultVersioned);
    // An empty folder of waiting updates leads on to the description.
    fs::create_directory(m_temp.File("update.d"));

    RunCheck({util::IDNO});
    EXPECT_EQ(m_temp.Read("update"), defaultVersioned);
    EXPECT_EQ(m_questions, 1);
    EXPECT_EQ(Requests("update.ini"), 1);

    m_temp.Write("update", Updater("1.0.0.2"));
    RunCheck({util::IDNO});
    EXPECT_EQ(m_temp.Read("update"), Updater("3.0.0.0") + "with more bytes");
}

TEST_F(UpdateCheckTest, StalledOrUnreachableServerEndsTheCheckSilently) {
    ServeUpdate("update", "x", Reply::NotFound);
    ServeUpdate("update.ini", std::string(4000, ';'), Reply::Stall);

    RunCheck({});
    RunCheck({}, "");
    RunCheck({}, "http://127.0.0.1:1");
    EXPECT_EQ(m_questions, 0);
    EXPECT_FALSE(fs::exists(m_temp.File("update.ini")));
    EXPECT_EQ(Requests("update.ini"), 1);
    EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateCheckTest, ErrorPagesAreNeitherRunNorOfferedAndTheUpdaterFollowsTheUmask) {
    ServeUpdate("update", "<h1>Internal Server Error</h1>", Reply::ServerError);
    ServeUpdate("filever.ini", "[VER]\nupdate=2.0.0.0\n");
    ServeUpdate("update.ini", "<h1>Forbidden</h1>", Reply::Forbidden);
    RunCheck({util::IDYES});
    EXPECT_EQ(m_questions, 0);
    EXPECT_FALSE(fs::exists(m_temp.File("update")));
    EXPECT_FALSE(fs::exists(m_temp.File("update.ini")));
    EXPECT_TRUE(TemporaryFolderEmpty());

    ServeUpdate("update", Updater("2.0.0.0"));
    const mode_t previous = ::umask(077);
    RunCheck({util::IDNO});
    ::umask(previous);
    EXPECT_EQ(fs::status(m_temp.File("update")).permissions(), fs::perms::owner_all);
}

} // namespace
