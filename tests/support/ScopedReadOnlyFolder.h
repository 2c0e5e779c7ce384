// A folder that nothing may write into for one scope, root included: the
// folder loses its write bits, and the capability that lets root write past
// them leaves the thread's effective set until the scope ends.
#pragma once

#include <cstdlib>
#include <linux/capability.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

class ScopedReadOnlyFolder {
public:
    explicit ScopedReadOnlyFolder(const std::string& folder) : m_Folder(folder) {
        struct stat info;
        if (stat(folder.c_str(), &info) == 0) m_OldMode = info.st_mode & 07777;
        chmod(folder.c_str(), 0555);
        m_bDropped = SetOverride(false);
    }
    ~ScopedReadOnlyFolder() {
        if (m_bDropped) SetOverride(true);
        chmod(m_Folder.c_str(), m_OldMode);
    }
    ScopedReadOnlyFolder(const ScopedReadOnlyFolder&) = delete;
    ScopedReadOnlyFolder& operator=(const ScopedReadOnlyFolder&) = delete;

    // True when a file cannot be made in the folder now.
    bool Holds() const {
        std::string probe = m_Folder + "/probe.XXXXXX";
        int fd = mkstemp(&probe[0]);
        if (fd < 0) return true;
        close(fd);
        unlink(probe.c_str());
        return false;
    }

private:
    // Only the effective set changes; the permitted set keeps the capability
    // so it can be raised again.
    static bool SetOverride(bool on) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
        if (syscall(SYS_capget, &header, data) != 0) return false;
        const __u32 bit = 1u << CAP_DAC_OVERRIDE;
        if (!(data[0].permitted & bit)) return false;
        data[0].effective = on ? (data[0].effective | bit) : (data[0].effective & ~bit);
        return syscall(SYS_capset, &header, data) == 0;
    }

    std::string m_Folder;
    mode_t m_OldMode = 0755;
    bool m_bDropped = false;
};
