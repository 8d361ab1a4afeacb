#pragma once
// A folder made read-only for the length of a test, as an installed collection or a
// read-only disk is: every file and folder in it loses its write permissions, and a test
// running as root also lowers, on this thread, the privilege that would let it write there
// anyway.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

namespace testsupport {

class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
        SetWritable(false);
        SetOverridePermissions(false);
    }
    ~ReadOnlyFolder() {
        SetOverridePermissions(true);
        SetWritable(true);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  private:
    void SetWritable(bool writable) {
        namespace fs = std::filesystem;
        const auto write =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        const auto change = writable ? fs::perm_options::add : fs::perm_options::remove;
        fs::permissions(folder_, write, change);
        for (const auto& entry : fs::recursive_directory_iterator(folder_))
            if (!entry.is_symlink()) fs::permissions(entry.path(), write, change);
    }

    // CAP_DAC_OVERRIDE in the effective set: what lets root write where the permissions
    // say no. It stays in the permitted set, so it can be raised again.
    static void SetOverridePermissions(bool on) {
        if (::geteuid() != 0) return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
        if (::syscall(SYS_capget, &header, data) != 0) return;
        const unsigned bit = 1u << CAP_DAC_OVERRIDE;
        if (on)
            data[0].effective |= data[0].permitted & bit;
        else
            data[0].effective &= ~bit;
        ::syscall(SYS_capset, &header, data);
    }

    std::filesystem::path folder_;
};

}  // namespace testsupport
