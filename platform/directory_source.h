#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Identity of a folder on its file system, to recognise a folder that is its own ancestor.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderId&) const = default;
};

// What a listing says about an entry before its time is read.
enum class EntryKind : std::uint8_t {
    Folder,  // a real folder (never a link to one)
    Other,   // anything else: files, links, fifos, sockets, devices
    Unknown, // the listing does not say; reading the entry's time tells
};

// The entries of one folder ("." and ".." left out), in listing order, their names packed
// one after another so that a folder of a million entries costs few allocations.
class CFolderListing {
public:
    void Add(std::string_view name, EntryKind kind) {
        m_entries.push_back({static_cast<std::uint32_t>(m_names.size()), kind});
        m_names.append(name);
        m_names.push_back('\0');
    }
    std::size_t size() const { return m_entries.size(); }
    const char* Name(std::size_t i) const { return m_names.c_str() + m_entries[i].nameOffset; }
    EntryKind Kind(std::size_t i) const { return m_entries[i].kind; }

private:
    struct Entry {
        std::uint32_t nameOffset;
        EntryKind kind;
    };
    std::string m_names;
    std::vector<Entry> m_entries;
};

// The last-write time of one entry, read without following a link.
struct EntryTime {
    int error = 0;              // errno when it could not be read: ENOENT when the entry has gone
                                // (or a filtering source leaves it out)
    bool folder = false;        // the entry is a folder (it has no time of its own for the walk)
    std::int64_t lastWrite = 0; // seconds since 1970 UTC
};

// Leaves entries out of a walk by their place below the chosen folder, which the walk knows and
// a source does not. folders names the folders from below the chosen one down to the listed one
// (the walk passes none when NeedsFolders says no); the names stay valid during the call.
// Called from several threads at once.
class IEntryScreen {
public:
    virtual ~IEntryScreen() = default;

    virtual bool NeedsFolders() const = 0;
    // Drops the entries left out from a folder's listing. An entry whose kind the listing does
    // not tell is dropped only when it is left out whatever it is.
    virtual void Screen(std::span<const char* const> folders, CFolderListing& listing) = 0;
    // Whether an entry found to be a folder only when its time was read is left out.
    virtual bool LeavesOutFolder(std::span<const char* const> folders, const char* name) = 0;
};

// The enumeration the walk runs on. The real one reads the file system; tests feed their own
// trees; decorators may wrap either. Handles are small non-negative numbers chosen by the source.
//
// Threads: every call may run at the same time as any other from several threads, as long as
// each handle is listed by one thread only and closed only when no other call is using it.
// OpenChild and ReadTime run concurrently on one handle (a big folder's times are read in
// chunks by several threads, while its subfolders are opened).
class IDirectorySource {
public:
    using Handle = int;

    struct OpenResult {
        Handle handle = -1; // -1 when the folder could not be opened
        int error = 0;      // errno when it could not
        FolderId id;
    };

    virtual ~IDirectorySource() = default;

    // Opens the chosen folder (following a link to it).
    virtual OpenResult OpenRoot(const std::string& path) = 0;
    // Opens the folder called name inside an open folder, never following a link.
    virtual OpenResult OpenChild(Handle parent, const char* name) = 0;
    // Appends every entry of an open folder to listing; called once per handle. Returns 0, or
    // the errno that stopped the listing (the entries read before it stay in listing).
    virtual int List(Handle folder, CFolderListing& listing) = 0;
    // Reads the time of the entry called name inside an open folder.
    virtual EntryTime ReadTime(Handle folder, const char* name) = 0;
    virtual void Close(Handle folder) = 0;
    // Whether an open folder lies on a file system the kernel makes up (proc, sysfs and the
    // like); a source that cannot tell says no.
    virtual bool OnPseudoFileSystem(Handle /*folder*/) { return false; }
    // The path by which the system knows an open folder now, to name it to the user; empty when
    // the source cannot tell. Slow: for the few folders that are named.
    virtual std::string FolderPath(Handle /*folder*/) { return {}; }
    // What the walk leaves out of each listing by its place, or null for nothing.
    virtual IEntryScreen* EntryScreen() { return nullptr; }
    // How many more folders the source could hold open at once now, as far as it knows.
    virtual std::size_t HandlesLeft() { return kNoHandleLimit; }
    static constexpr std::size_t kNoHandleLimit = ~std::size_t{0};
};

// Passes every call on to another source; a decorator derives from it and overrides only the
// calls it changes.
class CForwardingDirectorySource : public IDirectorySource {
public:
    explicit CForwardingDirectorySource(IDirectorySource& inner) : m_inner(inner) {}

    OpenResult OpenRoot(const std::string& path) override { return m_inner.OpenRoot(path); }
    OpenResult OpenChild(Handle parent, const char* name) override { return m_inner.OpenChild(parent, name); }
    int List(Handle folder, CFolderListing& listing) override { return m_inner.List(folder, listing); }
    EntryTime ReadTime(Handle folder, const char* name) override { return m_inner.ReadTime(folder, name); }
    void Close(Handle folder) override { m_inner.Close(folder); }
    bool OnPseudoFileSystem(Handle folder) override { return m_inner.OnPseudoFileSystem(folder); }
    std::string FolderPath(Handle folder) override { return m_inner.FolderPath(folder); }
    IEntryScreen* EntryScreen() override { return m_inner.EntryScreen(); }
    std::size_t HandlesLeft() override { return m_inner.HandlesLeft(); }

protected:
    IDirectorySource& m_inner;
};
