// A folder in which no new file can be made, for as long as the object lives: its permissions
// where they bind, and for root, whom they do not stop, the file system's immutable flag.
// Where neither is to be had, Vale() is false and the test says so.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace testsupport {

class PastaSomenteLeitura {
public:
    explicit PastaSomenteLeitura(std::string pasta) : pasta_(std::move(pasta)) {
        if (::geteuid() != 0) {
            vale_ = ::chmod(pasta_.c_str(), 0555) == 0;
            return;
        }
        vale_ = Imutavel(true);
    }
    ~PastaSomenteLeitura() { Solta(); }
    PastaSomenteLeitura(const PastaSomenteLeitura&) = delete;
    PastaSomenteLeitura& operator=(const PastaSomenteLeitura&) = delete;

    bool Vale() const { return vale_; }

    // Writable again, before the object ends.
    void Solta() {
        if (!vale_) return;
        if (::geteuid() != 0) ::chmod(pasta_.c_str(), 0755);
        else Imutavel(false);
        vale_ = false;
    }

private:
    bool Imutavel(bool ligado) {
        const int fd = ::open(pasta_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = ligado ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    std::string pasta_;
    bool vale_ = false;
};

}  // namespace testsupport
