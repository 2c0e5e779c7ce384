// A process killed at any moment of its save leaves "config.conf" whole: the
// old file or the new one, never a cut, a mix or nothing.
#include "host/CConfigStore.h"

#include "tests/support/ScopedLocale.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Long texts, so that writing the file, not building the document, takes
// most of a save and kills often land while the file is written.
CConfigStore Filled(const char* text, double number) {
    CConfigStore store;
    std::string longText;
    while (longText.size() < 2000) longText += text;
    for (int i = 0; i < 300; ++i) {
        std::string key = "key" + std::to_string(i);
        store.SetString("strings", key.c_str(), longText.c_str());
        store.SetNumber("numbers", key.c_str(), number + i);
    }
    return store;
}

// Removes the temporaries that killed saves left beside the file; how many there were.
int RemoveTemporaries(const TempFolder& temp) {
    int removed = 0;
    DIR* dir = opendir(temp.Path().c_str());
    while (dirent* entry = dir ? readdir(dir) : nullptr) {
        std::string name = entry->d_name;
        if (name.rfind("config.conf.", 0) == 0 && std::remove((temp / name).c_str()) == 0) ++removed;
    }
    if (dir) closedir(dir);
    return removed;
}

// Saves the two stores in turn until it is killed; says when it starts.
[[noreturn]] void SaveForever(const CConfigStore& first, const CConfigStore& second, const std::string& path,
                              int ready) {
    const char byte = 1;
    if (write(ready, &byte, 1) != 1) _exit(3);
    for (;;) {
        first.Save(path.c_str());
        second.Save(path.c_str());
    }
}

}  // namespace

TEST(ConfigKillDuringSaveTest, KilledSaverLeavesTheOldOrTheNewFileWhole) {
    ScopedLocale locale;
    ASSERT_TRUE(locale.Use("C.UTF-8"));
    TempFolder temp;
    const std::string path = temp / "config.conf";
    const CConfigStore oldStore = Filled("the old text", 1);
    const CConfigStore newStore = Filled("the new, longer text of the second save", 100000);
    ASSERT_TRUE(newStore.Save(path.c_str()));
    const std::string newText = temp.Read("config.conf");
    ASSERT_TRUE(oldStore.Save(path.c_str()));
    const auto saveStart = std::chrono::steady_clock::now();
    ASSERT_TRUE(oldStore.Save(path.c_str()));
    const auto saveTime = std::chrono::steady_clock::now() - saveStart;
    const std::string oldText = temp.Read("config.conf");

    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    // Kills land anywhere within two saves after the saver has started (a
    // sanitizer build may take a while to fork).
    const int span =
        static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count()) * 2 + 1000;
    std::uniform_int_distribution<int> delayMicroseconds(0, span);
    // 150 kills, and more until one has landed while the file was written.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(45);
    int kills = 0, killedInsideASave = 0;
    for (; (kills < 150 || killedInsideASave == 0) && std::chrono::steady_clock::now() < deadline; ++kills) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever(newStore, oldStore, path, ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        close(ready[1]);
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string text = temp.Read("config.conf");
        ASSERT_TRUE(text == oldText || text == newText) << "after kill " << kills << ": " << text.size() << " bytes";
        CConfigStore loaded;
        ASSERT_TRUE(loaded.Load(path.c_str()));
        killedInsideASave += RemoveTemporaries(temp);
    }
    EXPECT_GE(kills, 20);
    // A temporary left behind shows the kill came between its creation and the rename.
    EXPECT_GT(killedInsideASave, 0);
}
