// An analysis in an address space too small for its walk or its store: pane 0 says so, the
// store stays empty, and the next analysis works. A program of its own, so that the process
// starts with no thread stacks or heap left over by other tests.
#include "app_fixture.h"
#include "stamp_store.h"

#include <QApplication>
#include <fcntl.h>
#include <fstream>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

// AddressSanitizer maps far more address space than any limit these tests could set.
#if !defined(__SANITIZE_ADDRESS__)

namespace {

// The address space the process has mapped, in bytes.
rlim_t MappedBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    rlim_t kilobytes = 0;
    while (status >> key)
        if (key == "VmSize:" && status >> kilobytes)
            break;
    return kilobytes * 1024;
}

// The stack a new thread gets, in bytes.
rlim_t ThreadStackBytes() {
    pthread_attr_t attributes;
    std::size_t bytes = 0;
    if (::pthread_getattr_default_np(&attributes) == 0) {
        ::pthread_attr_getstacksize(&attributes, &bytes);
        ::pthread_attr_destroy(&attributes);
    }
    return bytes;
}

class MemoryPressureTest : public OpenWindowTest {
protected:
    // Analyses folder with the address space limited, from the moment the folder is chosen,
    // to what is mapped then and headroom more.
    void AnalyseWithHeadroom(const std::string& folder, rlim_t headroom) {
        rlimit before{};
        ASSERT_EQ(::getrlimit(RLIMIT_AS, &before), 0);
        const auto choose = m_frame->m_dialogs.browseForFolder;
        m_frame->m_dialogs.browseForFolder = [&](QWidget* owner, const QString& prompt) {
            const QString answer = choose(owner, prompt);
            const rlimit tight{MappedBytes() + headroom, before.rlim_max};
            EXPECT_EQ(::setrlimit(RLIMIT_AS, &tight), 0);
            return answer;
        };
        Analyse(folder);
        m_frame->m_dialogs.browseForFolder = choose;
        ASSERT_EQ(::setrlimit(RLIMIT_AS, &before), 0);
    }
};

} // namespace

TEST_F(MemoryPressureTest, TooLittleRoomForTheWalkOrItsStoreIsReportedAndTheNextAnalysisWorks) {
    CTestTree small;
    small.AddFile("a", LocalTime(2020, 6, 1, 9, 0));
    // Two hundred thousand names for four files (a file takes only so many): 1.6 MB of records.
    CTestTree big;
    for (int file = 0; file < 4; ++file) {
        const std::string name = "f" + std::to_string(file);
        big.AddFile(name, LocalTime(2020, 6, 1, 9, 0));
        for (int link = 1; link < 50000; ++link)
            ASSERT_EQ(::link(big.Path(name).c_str(), big.Path(name + "-" + std::to_string(link)).c_str()), 0);
    }
    const rlim_t stack = ThreadStackBytes();
    ASSERT_GT(stack, 0u);
    ASSERT_GT(MappedBytes(), 0u);

    // No room for the walk's thread.
    AnalyseWithHeadroom(small.Root(), 256 * 1024);
    EXPECT_EQ(m_frame->MessageText(),
              QString::fromStdString("Not enough memory to analyze " + small.Root() + "."));
    EXPECT_EQ(theStampStore.m_nFiles, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Room for the thread, not for the store.
    AnalyseWithHeadroom(big.Root(), stack + 256 * 1024);
    EXPECT_EQ(m_frame->MessageText(),
              QString::fromStdString("Not enough memory to analyze " + big.Root() + "."));
    EXPECT_EQ(theStampStore.m_nFiles, 0);
    EXPECT_EQ(theStampStore.GetSize(), 0);

    // With the limit gone, both work.
    Analyse(big.Root());
    EXPECT_EQ(theStampStore.m_nFiles, 200000);
    EXPECT_EQ(m_frame->MessageText(),
              QStringLiteral("100% of these files were written in 1 burst: see View > "
                             "Count Active Minutes and View > Bursts..."))
        << "no error: all of the big tree was written in one second";
}
#endif
