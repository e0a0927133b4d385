#pragma once

#include <cstdint>
#include <string>

// A temporary folder tree for tests, built with awkward content on demand (odd names, links,
// loops, fifos, unreadable folders, extreme times, very deep chains) and removed again,
// however deep it got, when the object goes.
class CTestTree {
public:
    // Made in base, or in TMPDIR (else /tmp) when base is empty.
    explicit CTestTree(const std::string& base = {});
    ~CTestTree();
    CTestTree(const CTestTree&) = delete;
    CTestTree& operator=(const CTestTree&) = delete;

    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& relative) const { return m_root + "/" + relative; }

    // Each call creates missing parent folders of relative.
    void AddFolder(const std::string& relative);
    void AddFile(const std::string& relative, std::int64_t lastWrite);
    void AddLink(const std::string& relative, const std::string& target, std::int64_t lastWrite);
    void AddFifo(const std::string& relative, std::int64_t lastWrite);
    void SetMode(const std::string& relative, unsigned mode);

    // A chain of depth nested folders called name below relative, with a file of the given
    // time at the bottom. Built with *at calls, so the full path may exceed PATH_MAX.
    void AddChain(const std::string& relative, int depth, const std::string& name,
                  std::int64_t bottomFileTime);

    // Sets the last-write time of the entry itself (a link is not followed).
    void SetTime(const std::string& relative, std::int64_t lastWrite);

private:
    std::string m_root;
};
