#include "disc/TrackSaver.h"

#include "components/vesplin/TrackReader.h"
#include "disc/DiscMessage.h"
#include "disc/SafeFileName.h"
#include "disc/TrackListReader.h"
#include "lang/LangText.h"
#include "util/MessageBox.h"
#include "util/ThreadName.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace disc {

namespace {

constexpr int kFormatQuestionKey = 26;
constexpr int kCannotCreateKey = 27;
constexpr int kCancelQuestionKey = 29;
constexpr std::uint64_t kSectorSamples = 588;

// More "-a" than this and the name is given up: a folder that full is not
// one to save into, and the name stays well inside 255 bytes.
constexpr int kMaxNameSuffixes = 20;

// Whether anything, a dangling link included, has the name `path`.
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

// Proves that the folder takes files: creates `path` and deletes it again.
bool CanCreate(const std::string& path) {
    {
        std::ofstream probe(path, std::ios::binary);
        if (!probe) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::remove(path, error);
    return true;
}

} // namespace

std::optional<SaveFormat> AskSaveFormat() {
    switch (util::ShowMessageBox(lang::GetLangString("Message", kFormatQuestionKey),
                                 util::MB_YESNOCANCEL | util::MB_ICONQUESTION)) {
    case util::IDYES:
        return SaveFormat::Mp3;
    case util::IDNO:
        return SaveFormat::Wav;
    default:
        return std::nullopt;
    }
}

bool ConfirmSaveCancel() {
    return util::ShowMessageBox(lang::GetLangString("Message", kCancelQuestionKey),
                                util::MB_YESNO | util::MB_ICONQUESTION) == util::IDYES;
}

TrackSaver::TrackSaver(CAuEncode& encoder) : m_encoder(encoder) {}

TrackSaver::~TrackSaver() {
    Cancel();
    Wait();
}

bool TrackSaver::Start(quarnel::CDevCmdROM* device, const ITrackRows& rows,
                       const TrackAddressTable& addresses, std::string folder, SaveFormat format) {
    if (m_worker.joinable()) {
        if (!m_stop.load(std::memory_order_acquire)) {
            return false;
        }
        m_worker.join();
    }
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    std::vector<Job> jobs;
    for (int row = 0; row < rows.RowCount(); ++row) {
        if (!rows.IsChecked(row)) {
            continue;
        }
        Job job{rows.Cell(row, kColumnTrack), rows.Cell(row, kColumnTitle)};
        if (job.title == UntitledText(job.number)) {
            job.title.clear(); // the list's stand-in, not a title of the disc
        }
        job.title = SafeFileName(job.title);
        job.firstOfDisc = row == 0;
        job.lastOfDisc = row + 1 == rows.RowCount();
        const long number = std::strtol(job.number.c_str(), nullptr, 10);
        job.aboveLimit = number > TrackAddressTable::kMaxTrack;
        if (!job.aboveLimit && number >= 0) {
            job.start = addresses.start[static_cast<std::size_t>(number)];
            job.end = addresses.end[static_cast<std::size_t>(number)];
        }
        jobs.push_back(std::move(job));
    }
    SetCurrentPath({});
    {
        const std::lock_guard lock(m_pathMutex);
        m_outcomes.clear();
    }
    m_tracksSaved.store(0, std::memory_order_relaxed);
    m_stop.store(false, std::memory_order_release);
    m_worker =
        std::thread(&TrackSaver::Run, this, device, std::move(jobs), std::move(folder), format);
    return true;
}

SaveProgress TrackSaver::Tick() const {
    SaveProgress progress;
    progress.finished = m_stop.load(std::memory_order_acquire);
    if (!progress.finished) {
        progress.percent = m_encoder.GetEncodeProgress();
        const std::lock_guard lock(m_pathMutex);
        progress.currentPath = m_currentPath;
    }
    return progress;
}

void TrackSaver::Cancel() {
    m_stop.store(true, std::memory_order_release);
    m_encoder.EncodeStop();
}

void TrackSaver::Wait() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void TrackSaver::Run(quarnel::CDevCmdROM* device, const std::vector<Job>& jobs,
                     const std::string& folder, SaveFormat format) {
    util::NameThisThread("saver");
    const std::string extension = format == SaveFormat::Mp3 ? ".mp3" : ".wav";
    for (const Job& job : jobs) {
        if (m_stop.load(std::memory_order_acquire) || job.aboveLimit) {
            break;
        }
        std::string name = job.title.empty() ? "Track" + job.number : job.title;
        const auto pathOf = [&] {
            std::string path = folder;
            path.append(name).append(extension);
            return path;
        };
        for (int suffixes = 0; Exists(pathOf()) && suffixes <= kMaxNameSuffixes; ++suffixes) {
            name += "-a";
        }
        const std::string path = pathOf();
        SetCurrentPath(path);
        if (Exists(path) || !CanCreate(path)) {
            ShowDiscMessage(kCannotCreateKey);
            break;
        }
        if (!SaveTrack(device, job, path)) {
            break;
        }
    }
    WriteLog(folder);
    const std::string problems = SaveProblemsText(Outcomes());
    if (!problems.empty()) {
        util::ShowMessageBox(problems, util::MB_OK | util::MB_ICONINFORMATION);
    }
    m_stop.store(true, std::memory_order_release);
}

bool TrackSaver::SaveTrack(quarnel::CDevCmdROM* device, const Job& job, const std::string& path) {
    TrackSaveOutcome outcome{job.number, path,
                             job.end >= job.start ? std::uint64_t{job.end} - job.start + 1 : 0};
    const bool saved = m_encoder.Encode(device, job.start, job.end, path);
    outcome.unreadableSectors = m_encoder.GetUnreadableSectors();
    if (saved) {
        m_tracksSaved.fetch_add(1, std::memory_order_relaxed);
        const vesplin::TrackChecksums& sums = m_encoder.GetTrackChecksums();
        const vesplin::AccurateRipChecksums accurateRip =
            sums.AccurateRip(job.firstOfDisc, job.lastOfDisc);
        outcome.crc32 = sums.Crc32();
        outcome.accurateRipV1 = accurateRip.v1;
        outcome.accurateRipV2 = accurateRip.v2;
        if (m_verify) {
            outcome.verify = ReadAgain(device, job, outcome.crc32);
        }
    } else {
        // Half a track is no track: the file goes, whether the user stopped
        // the save or the disk refused more.
        RemoveFile(path);
        outcome.result = m_encoder.Encode_GetError() == vesplin::EncodeError::None
                             ? TrackSaveOutcome::Result::Cancelled
                             : TrackSaveOutcome::Result::Failed;
    }
    const vesplin::EncodeError error = m_encoder.Encode_GetError();
    const std::lock_guard lock(m_pathMutex);
    m_outcomes.push_back(std::move(outcome));
    // A disk that refused one file refuses the next: the save ends there.
    return error != vesplin::EncodeError::WriteFailed &&
           error != vesplin::EncodeError::CannotCreate;
}

TrackSaveOutcome::Verify TrackSaver::ReadAgain(quarnel::CDevCmdROM* device, const Job& job,
                                               std::uint32_t firstCrc32) const {
    vesplin::TrackReader reader(*device, job.start, job.end);
    vesplin::TrackChecksums again(reader.TotalSectors() * kSectorSamples);
    std::vector<std::uint8_t> chunk(std::size_t{vesplin::TrackReader::kChunkSectors} *
                                    vesplin::TrackReader::kSectorBytes);
    while (const std::uint32_t sectors = reader.ReadChunk(chunk.data())) {
        again.Add(chunk.data(), std::size_t{sectors} * vesplin::TrackReader::kSectorBytes);
    }
    return again.Crc32() == firstCrc32 ? TrackSaveOutcome::Verify::Same
                                       : TrackSaveOutcome::Verify::Differs;
}

void TrackSaver::WriteLog(const std::string& folder) const {
    std::string lines;
    for (const TrackSaveOutcome& outcome : Outcomes()) {
        if (outcome.result == TrackSaveOutcome::Result::Saved) {
            lines += SavedTrackLine(outcome) + "\n";
        }
    }
    if (lines.empty()) {
        return;
    }
    // Appended: every save into the folder leaves its lines, none replaces another's.
    std::ofstream log(folder + kLogFileName, std::ios::binary | std::ios::app);
    log << lines;
}

std::vector<TrackSaveOutcome> TrackSaver::Outcomes() const {
    const std::lock_guard lock(m_pathMutex);
    return m_outcomes;
}

void TrackSaver::SetCurrentPath(const std::string& path) {
    const std::lock_guard lock(m_pathMutex);
    m_currentPath = path;
}

} // namespace disc
