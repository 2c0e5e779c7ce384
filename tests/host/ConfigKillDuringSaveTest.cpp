// A process killed at any moment of its save leaves "config.conf" whole: the
// old file or the new one, never a cut, a mix or nothing.
//
// The saver runs under ptrace and is killed at each of its system calls in
// turn (but those that only map memory), once on the way in and once on the
// way out. Files change only inside system calls, so this leaves every state
// a kill can leave, whatever the machine's speed or load.
#include "host/CConfigStore.h"

#include "tests/support/ScopedLocale.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstddef>
#include <dirent.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <string>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The stream writes the file in pieces of the folder's block size; three
// blocks' worth at least, so some kills land between two pieces.
size_t ThreeBlocks(const std::string& folder) {
    struct stat info;
    const size_t block = stat(folder.c_str(), &info) == 0 && info.st_blksize > 0 ? info.st_blksize : 4096;
    return 3 * block;
}

// Values of some thousand bytes each, at least `bytes` of them in all.
CConfigStore Filled(const char* text, double number, size_t bytes) {
    CConfigStore store;
    std::string longText;
    while (longText.size() < 1000) longText += text;
    const size_t values = bytes / longText.size() + 1;
    for (size_t i = 0; i < values; ++i) {
        std::string key = "key" + std::to_string(i);
        store.SetString("strings", key.c_str(), longText.c_str());
        store.SetNumber("numbers", key.c_str(), number + i);
    }
    return store;
}

// Where a save stood when it was killed, told by what it left in the folder.
enum Moment { kNotBegun, kTemporaryCreated, kPartWritten, kWrittenNotRenamed, kRenamed, kMoments };
const char* const kMomentNames[kMoments] = {"not begun", "temporary created", "part written", "written, not renamed",
                                            "renamed"};

// The temporaries ("config.conf.XXXXXX") that killed saves left beside the file.
std::vector<std::string> Temporaries(const TempFolder& temp) {
    std::vector<std::string> names;
    DIR* dir = opendir(temp.Path().c_str());
    while (dirent* entry = dir ? readdir(dir) : nullptr) {
        std::string name = entry->d_name;
        if (name.rfind("config.conf.", 0) == 0 && name.size() == 18) names.push_back(name);
    }
    if (dir) closedir(dir);
    return names;
}

// In the child: from here on the calls that may touch a file stop it under
// the tracer; memory calls (a sanitizer's allocator makes hundreds) run freely.
bool TraceFileCalls() {
    constexpr unsigned kJumpIfNot = BPF_JMP | BPF_JEQ | BPF_K;
    constexpr unsigned kReturn = BPF_RET | BPF_K;
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(kJumpIfNot, SYS_mmap, 5, 0),
        BPF_JUMP(kJumpIfNot, SYS_munmap, 4, 0),
        BPF_JUMP(kJumpIfNot, SYS_mremap, 3, 0),
        BPF_JUMP(kJumpIfNot, SYS_mprotect, 2, 0),
        BPF_JUMP(kJumpIfNot, SYS_madvise, 1, 0),
        BPF_JUMP(kJumpIfNot, SYS_brk, 0, 1),
        BPF_STMT(kReturn, SECCOMP_RET_ALLOW),
        BPF_STMT(kReturn, SECCOMP_RET_TRACE),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}

// A child process that saves a store over a file, stopped before it begins
// and then run one stop at a time: the entry of each call that may touch a
// file, and its exit.
class TracedSaver {
public:
    TracedSaver(const CConfigStore& store, const std::string& path) {
        m_Child = fork();
        if (m_Child == 0) {
            if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(kUntraceable);
            raise(SIGSTOP);
            if (!TraceFileCalls()) _exit(kUntraceable);
            _exit(store.Save(path.c_str()) ? 0 : 1);
        }
        int status = 0;
        if (m_Child < 0 || waitpid(m_Child, &status, 0) != m_Child) return;
        if (!WIFSTOPPED(status)) {
            m_Untraceable = WIFEXITED(status) && WEXITSTATUS(status) == kUntraceable;
            m_Child = -1;
            return;
        }
        m_Stopped = ptrace(PTRACE_SETOPTIONS, m_Child, nullptr,
                           PTRACE_O_TRACESYSGOOD | PTRACE_O_TRACESECCOMP | PTRACE_O_EXITKILL) == 0;
    }
    ~TracedSaver() { Kill(); }
    TracedSaver(const TracedSaver&) = delete;
    TracedSaver& operator=(const TracedSaver&) = delete;

    // Stopped under the tracer, before the save or at one of its calls.
    bool Stopped() const { return m_Stopped; }
    // This system refuses ptrace or seccomp (a sandbox may).
    bool Untraceable() const { return m_Untraceable; }
    bool Saved() const { return m_ExitStatus == 0; }

    // Runs the child to its next stop; false once it has ended.
    bool Step() {
        int signal = 0;
        while (m_Stopped) {
            int status = 0;
            if (ptrace(m_ToExit ? PTRACE_SYSCALL : PTRACE_CONT, m_Child, nullptr, signal) != 0 ||
                waitpid(m_Child, &status, 0) != m_Child) {
                Kill();
                break;
            }
            if (WIFEXITED(status) || WIFSIGNALED(status)) {
                m_ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                m_Untraceable = m_ExitStatus == kUntraceable;
                m_Stopped = false;
                m_Child = -1;
                break;
            }
            signal = 0;
            if (status >> 8 == (SIGTRAP | PTRACE_EVENT_SECCOMP << 8)) {
                m_ToExit = true;
                return true;
            }
            if (WSTOPSIG(status) == (SIGTRAP | 0x80)) {
                // After the filter's stop the kernel may report the call's entry too: the same moment.
                if (AtEntry()) continue;
                m_ToExit = false;
                return true;
            }
            // A signal of its own: it gets it with the next step.
            signal = WSTOPSIG(status);
        }
        return false;
    }

    // Kills the child where it stands; a child stopped at a call's entry
    // dies without making it.
    void Kill() {
        if (m_Child <= 0) return;
        kill(m_Child, SIGKILL);
        int status = 0;
        waitpid(m_Child, &status, 0);
        m_Child = -1;
        m_Stopped = false;
    }

private:
    bool AtEntry() {
        __ptrace_syscall_info info{};
        return ptrace(PTRACE_GET_SYSCALL_INFO, m_Child, sizeof info, &info) > 0 && info.op == PTRACE_SYSCALL_INFO_ENTRY;
    }

    static constexpr int kUntraceable = 3;
    pid_t m_Child = -1;
    bool m_Stopped = false;
    bool m_ToExit = false;  // stopped at an entry: the next step goes to its exit
    bool m_Untraceable = false;
    int m_ExitStatus = -1;
};

class ConfigKillDuringSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(locale.Use("C.UTF-8"));
        CConfigStore loaded;
        ASSERT_TRUE(newStore.Save(path.c_str()));
        newText = temp.Read("config.conf");
        ASSERT_TRUE(loaded.Load(path.c_str()));
        ASSERT_TRUE(oldStore.Save(path.c_str()));
        oldText = temp.Read("config.conf");
        ASSERT_TRUE(loaded.Load(path.c_str()));
        ASSERT_NE(oldText, newText);
    }

    // What the killed save left: one of the two files whole (each of them
    // loads), and the moment the save stood at.
    Moment Inspect(int stop) {
        SCOPED_TRACE("killed at stop " + std::to_string(stop));
        const std::string text = temp.Read("config.conf");
        EXPECT_TRUE(text == oldText || text == newText) << text.size() << " bytes";
        const std::vector<std::string> temporaries = Temporaries(temp);
        EXPECT_LE(temporaries.size(), 1u);
        if (temporaries.empty()) return text == newText ? kRenamed : kNotBegun;
        // Until the rename the old file stands, and the temporary holds the start of the new one.
        EXPECT_EQ(text, oldText);
        const std::string written = temp.Read(temporaries[0]);
        EXPECT_EQ(written, newText.substr(0, written.size()));
        if (written.empty()) return kTemporaryCreated;
        return written.size() < newText.size() ? kPartWritten : kWrittenNotRenamed;
    }

    // The old file back, as a plain write, and no temporary beside it.
    void Reset() {
        for (const std::string& name : Temporaries(temp)) std::remove((temp / name).c_str());
        temp.Write("config.conf", oldText);
    }

    // A kill, unlike a power cut, leaves what the page cache holds: in memory
    // the saves' syncs cost nothing and the kills show the same.
    static std::string Base() { return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : TemporaryBase(); }

    ScopedLocale locale;
    TempFolder temp{Base()};
    const std::string path = temp / "config.conf";
    const CConfigStore oldStore = Filled("the old text", 1, ThreeBlocks(temp.Path()));
    const CConfigStore newStore = Filled("the new, longer text of the second save", 100000, ThreeBlocks(temp.Path()));
    std::string oldText, newText;
};

TEST_F(ConfigKillDuringSaveTest, KilledSaverLeavesTheOldOrTheNewFileWhole) {
    // One whole save first, to count its stops.
    int stops = 0;
    {
        TracedSaver saver(newStore, path);
        while (saver.Step()) ++stops;
        if (saver.Untraceable()) GTEST_SKIP() << "this system does not let a test trace its child";
        ASSERT_TRUE(saver.Saved());
        ASSERT_EQ(temp.Read("config.conf"), newText);
    }

    int seen[kMoments] = {};
    for (int stop = 0; stop <= stops; ++stop) {
        Reset();
        TracedSaver saver(newStore, path);
        ASSERT_TRUE(saver.Stopped());
        int at = 0;
        while (at < stop && saver.Step()) ++at;
        saver.Kill();
        ++seen[Inspect(stop)];
        if (HasFailure()) return;
    }
    for (int moment = 0; moment < kMoments; ++moment)
        EXPECT_GT(seen[moment], 0) << "no kill " << kMomentNames[moment] << " in " << stops << " stops";
}

}  // namespace
