#include "time_list.h"

#include "stamp_store.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
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

TimeListOutcome CTimeListReader::Read(std::FILE* list) {
    TimeListOutcome outcome;
    char* buffer = nullptr;
    std::size_t capacity = 0;
    const std::unique_ptr<char*, void (*)(char**)> freeBuffer(&buffer, [](char** held) { std::free(*held); });
    errno = 0;
    for (ssize_t length; (length = ::getline(&buffer, &capacity, list)) >= 0;) {
        if (PublishAndLookForStop(m_control, m_times)) {
            m_stopped = true;
            break;
        }
        ++outcome.badLine; // the number of the line in hand until it proves good
        std::string_view text(buffer, static_cast<std::size_t>(length));
        if (text.ends_with('\n'))
            text.remove_suffix(1);
        const std::optional<TimeListLine> line = ParseTimeListLine(text);
        if (!line) {
            outcome.badText = text;
            return outcome;
        }
        Add(*line);
        ++outcome.times;
        ++m_times;
    }
    outcome.badLine = 0;
    if (std::ferror(list))
        outcome.readError = errno != 0 ? errno : EIO;
    return outcome;
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
        !keepsPlaces || slash == std::string_view::npos ? *m_top : FolderOf(line.path.substr(0, slash));
    m_sink.AddFile(folder, name, line.time);
}

CTimeListReader::FolderIndex CTimeListReader::FolderOf(std::string_view folderPath) {
    if (m_lastFolder != IStampSink::kNoFolder && folderPath == m_lastFolderPath)
        return m_lastFolder;
    FolderIndex folder = *m_top;
    std::string key;
    for (std::size_t start = 0; start <= folderPath.size();) {
        std::size_t slash = folderPath.find('/', start);
        if (slash == std::string_view::npos)
            slash = folderPath.size();
        const std::string_view part = folderPath.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".")
            continue; // "./a", "/a" and "a//b" name the folders a and a/b
        if (!key.empty())
            key += '/';
        key += part;
        auto found = m_folders.find(key);
        if (found == m_folders.end())
            found = m_folders.emplace(key, m_sink.AddFolder(folder, part)).first;
        folder = found->second;
    }
    m_lastFolderPath = folderPath;
    m_lastFolder = folder;
    return folder;
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
    if (outcome.badLine != 0) {
        load.failure = TimeListsLoad::Failure::NotATime;
        load.message = TimeListName(path) + ":" + std::to_string(outcome.badLine) + ": not a time: '" +
                       outcome.badText.substr(0, 80) + "'";
    } else if (outcome.readError != 0) {
        load.failure = TimeListsLoad::Failure::Unreadable;
        load.message = "cannot read '" + TimeListName(path) + "': " + std::strerror(outcome.readError);
    }
    return load;
}

} // namespace

TimeListsLoad LoadTimeLists(std::span<const std::string> paths, CStampStore& store, WalkControl* control) {
    std::string names;
    for (const std::string& path : paths)
        names += (names.empty() ? "" : ", ") + TimeListName(path);
    TimeListsLoad load;
    try {
        store.Begin(names, RecordKind::Files, TimeBasis::Utc);
        CTimeListReader reader(store, control);
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

void WriteTimeList(std::ostream& out, const CStampStore& store) {
    for (const FileStamp& stamp : store.span())
        out << stamp.m_lastWrite << '\n';
}
