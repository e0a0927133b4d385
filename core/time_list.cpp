#include "time_list.h"

#include "stamp_store.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <ostream>

std::optional<TimeListLine> ParseTimeListLine(std::string_view line) {
    const std::size_t space = line.find(' ');
    const std::string_view number = line.substr(0, space);
    const std::size_t dot = number.find('.');
    const std::string_view whole = number.substr(0, dot);
    TimeListLine parsed;
    const char* end = whole.data() + whole.size();
    const auto [stop, error] = std::from_chars(whole.data(), end, parsed.time);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    if (dot != std::string_view::npos) {
        const std::string_view fraction = number.substr(dot + 1);
        if (fraction.empty() || fraction.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        const bool nonZero = fraction.find_first_not_of('0') != std::string_view::npos;
        if (whole.starts_with('-') && nonZero) {
            if (parsed.time == std::numeric_limits<std::int64_t>::min())
                return std::nullopt;
            --parsed.time; // -1.5 seconds lies in second -2
        }
    }
    if (space != std::string_view::npos) {
        parsed.path = line.substr(space + 1);
        if (parsed.path.empty())
            return std::nullopt;
    }
    return parsed;
}

RecordEnd DetectRecordEnd(std::string_view firstBytes) {
    return firstBytes.find('\0') != std::string_view::npos ? RecordEnd::Nul : RecordEnd::Newline;
}

namespace {

// How much is asked of the list at once.
constexpr std::size_t kReadChunk = 64 * 1024;

// The line without its CR of a CRLF end and the blanks around it.
std::string_view TrimmedLine(std::string_view line) {
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// True when the path names a folder rather than a file: "a/", "/", "a/." or "..".
bool NamesAFolder(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.empty() || name == "." || name == "..";
}

} // namespace

TimeListOutcome CTimeListReader::Read(std::FILE* list) {
    TimeListOutcome outcome;
    m_blankLine = 0;
    RecordEnd recordEnd = m_recordEnd;
    std::vector<char> buffer(kReadChunk);
    std::size_t filled = 0; // the start of a record not yet ended, at the buffer's start
    std::int64_t number = 0;
    for (bool atEnd = false; !atEnd;) {
        if (buffer.size() - filled < kReadChunk)
            buffer.resize(filled + kReadChunk);
        errno = 0;
        const std::size_t wanted = buffer.size() - filled;
        const std::size_t got = std::fread(buffer.data() + filled, 1, wanted, list);
        if (got < wanted && std::ferror(list)) {
            outcome.readError = errno != 0 ? errno : EIO;
            return outcome;
        }
        atEnd = got < wanted;
        if (recordEnd == RecordEnd::Detect)
            recordEnd = DetectRecordEnd({buffer.data(), std::min(filled + got, kRecordEndSniffBytes)});
        filled += got;
        const char endByte = recordEnd == RecordEnd::Nul ? '\0' : '\n';
        const bool lines = recordEnd != RecordEnd::Nul;
        const char* begin = buffer.data();
        const char* const stop = buffer.data() + filled;
        for (const char* end; (end = static_cast<const char*>(std::memchr(
                                   begin, endByte, static_cast<std::size_t>(stop - begin)))) != nullptr;
             begin = end + 1) {
            if (!Take({begin, static_cast<std::size_t>(end - begin)}, ++number, lines, outcome))
                return outcome;
        }
        const auto rest = static_cast<std::size_t>(stop - begin);
        if (atEnd && rest > 0 && !Take({begin, rest}, ++number, lines, outcome))
            return outcome;
        if (rest > kLongestTimeListRecord) {
            outcome.badLine = number + 1;
            outcome.tooLong = true;
            return outcome;
        }
        std::memmove(buffer.data(), begin, rest);
        filled = rest;
    }
    return outcome;
}

bool CTimeListReader::Take(std::string_view record, std::int64_t number, bool lines,
                           TimeListOutcome& outcome) {
    if (m_stopped || PublishAndLookForStop(m_control, m_times)) {
        m_stopped = true;
        return false;
    }
    const auto refuse = [&](std::int64_t line, const char* problem, std::string_view text) {
        outcome.badLine = line;
        outcome.problem = problem;
        outcome.badText = text.substr(0, 80);
        return false;
    };
    if (record.size() > kLongestTimeListRecord) {
        outcome.tooLong = true;
        return refuse(number, "", {});
    }
    if (lines)
        record = TrimmedLine(record);
    if (record.empty() && lines) {
        if (m_blankLine == 0)
            m_blankLine = number; // blank lines may end a list, and nothing else
        return true;
    }
    if (m_blankLine != 0)
        return refuse(m_blankLine, "not a time", {});
    if (lines && record.find('\0') != std::string_view::npos)
        return refuse(number, "a NUL byte inside a line", record);
    const std::optional<TimeListLine> line = ParseTimeListLine(record);
    if (!line)
        return refuse(number, "not a time", record);
    if (!line->path.empty() && NamesAFolder(line->path))
        return refuse(number, "a folder, not a file", record);
    Add(*line);
    ++outcome.times;
    ++m_times;
    return true;
}

void CTimeListReader::Add(const TimeListLine& line) {
    if (line.path.empty()) {
        m_sink.AddFile(IStampSink::kNoFolder, {}, line.time);
        return;
    }
    if (!m_top)
        m_top = m_sink.AddFolder(IStampSink::kNoFolder, "");
    const std::size_t slash = line.path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? line.path : line.path.substr(slash + 1);
    // A sink that keeps no places has no index for the top folder: the folders are not worth making.
    const bool keepsPlaces = *m_top != IStampSink::kNoFolder;
    const FolderIndex folder =
        !keepsPlaces || slash == std::string_view::npos ? *m_top : FolderOf(line.path.substr(0, slash + 1));
    m_sink.AddFile(folder, name, line.time);
}

CTimeListReader::FolderIndex CTimeListReader::FolderOf(std::string_view folderPath) {
    // The folders of the last path whose names and the '/' after them this one repeats are
    // its folders too; only the rest is looked up.
    if (folderPath == m_lastFolderPath)
        return m_lastFolder;
    const std::size_t shared = static_cast<std::size_t>(
        std::mismatch(folderPath.begin(), folderPath.end(), m_lastFolderPath.begin(), m_lastFolderPath.end())
            .first -
        folderPath.begin());
    std::size_t kept = 0;
    while (kept < m_lastChain.size() && m_lastChain[kept].end < shared)
        ++kept;
    m_lastChain.resize(kept);
    FolderIndex folder = kept > 0                      ? m_lastChain.back().folder
                         : folderPath.starts_with('/') ? ChildFolder(*m_top, "/")
                                                       : *m_top;
    for (std::size_t start = kept > 0 ? m_lastChain.back().end + 1 : 0; start < folderPath.size();) {
        const std::size_t slash = folderPath.find('/', start); // every folder path ends with one
        const std::string_view part = folderPath.substr(start, slash - start);
        if (!part.empty() && part != ".") { // "./a", "/a" and "a//b" name the folders a and a/b
            folder = ChildFolder(folder, part);
            m_lastChain.push_back({slash, folder});
        }
        start = slash + 1;
    }
    m_lastFolderPath = folderPath;
    m_lastFolder = folder;
    return folder;
}

CTimeListReader::FolderIndex CTimeListReader::ChildFolder(FolderIndex parent, std::string_view name) {
    if (const auto found = m_folders.find(FolderKeyView{parent, name}); found != m_folders.end())
        return found->second;
    const FolderIndex child = m_sink.AddFolder(parent, name);
    m_folders.emplace(FolderKey{parent, std::string(name)}, child);
    return child;
}

std::string TimeListName(const std::string& path) {
    return path == "-" ? "standard input" : path;
}

namespace {

// The list at path read into the reader; a message naming it when that failed.
TimeListsLoad ReadOneList(const std::string& path, CTimeListReader& reader) {
    TimeListsLoad load;
    using ClosedFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
    const ClosedFile opened(path == "-" ? nullptr : std::fopen(path.c_str(), "re"), std::fclose);
    std::FILE* list = path == "-" ? stdin : opened.get();
    if (list == nullptr) {
        load.failure = TimeListsLoad::Failure::Unreadable;
        load.message = "cannot read '" + path + "': " + std::strerror(errno);
        return load;
    }
    const TimeListOutcome outcome = reader.Read(list);
    const std::string line = TimeListName(path) + ":" + std::to_string(outcome.badLine) + ": ";
    if (outcome.tooLong) {
        load.failure = TimeListsLoad::Failure::Unreadable;
        load.message = line + "a line longer than " + std::to_string(kLongestTimeListRecord / (1024 * 1024)) +
                       " MiB, the most a list may hold";
    } else if (outcome.badLine != 0) {
        load.failure = TimeListsLoad::Failure::BadLine;
        load.message = line + outcome.problem + ": '" + outcome.badText + "'";
    } else if (outcome.readError != 0) {
        load.failure = TimeListsLoad::Failure::Unreadable;
        load.message = "cannot read '" + TimeListName(path) + "': " + std::strerror(outcome.readError);
    }
    return load;
}

} // namespace

TimeListsLoad LoadTimeLists(std::span<const std::string> paths, CStampStore& store, WalkControl* control,
                            RecordEnd recordEnd) {
    std::string names;
    for (const std::string& path : paths)
        names += (names.empty() ? "" : ", ") + TimeListName(path);
    TimeListsLoad load;
    try {
        store.Begin(names, RecordKind::Files, TimeBasis::Utc);
        CTimeListReader reader(store, control, recordEnd);
        for (const std::string& path : paths) {
            load = ReadOneList(path, reader);
            if (load.failure != TimeListsLoad::Failure::None || reader.Stopped())
                break;
        }
    } catch (const std::bad_alloc&) {
        load.failure = TimeListsLoad::Failure::Unreadable;
        load.message = "not enough memory to read '" + names + "'";
    }
    if (load.failure != TimeListsLoad::Failure::None)
        store.Reset();
    return load;
}

void WriteTimeList(std::ostream& out, const CStampStore& store, RecordEnd recordEnd) {
    if (recordEnd != RecordEnd::Nul) {
        for (const FileStamp& stamp : store.span())
            out << stamp.m_lastWrite << '\n';
        return;
    }
    const CStampPlaces& places = store.Places();
    const bool withPaths = store.Kind() == RecordKind::Files && store.KeepsPlaces() && places.HasNames();
    for (CStampStore::Index record = 0; record < store.GetSize(); ++record) {
        out << store[record].m_lastWrite;
        if (withPaths && places.FolderOf(record) != CStampPlaces::kNoFolder)
            out << ' ' << places.RelativePath(record);
        out << '\0';
    }
}
