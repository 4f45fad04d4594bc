#include "UnreadableFile.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <stdexcept>

namespace {

constexpr unsigned ReadPastPermissions = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// The thread's effective capabilities (the first 32), set to effective when it is given.
unsigned effectiveCapabilities(const unsigned* effective = nullptr)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        throw std::runtime_error("the capabilities cannot be read");
    const unsigned before = data[0].effective;
    if (effective) {
        data[0].effective = *effective;
        if (syscall(SYS_capset, &header, data) != 0)
            throw std::runtime_error("the capabilities cannot be changed");
    }
    return before;
}

} // namespace

UnreadableFile::UnreadableFile(const QString& path) : m_path(path), m_permissions(QFile::permissions(path))
{
    QFile::setPermissions(path, QFile::WriteOwner);
    m_effective = effectiveCapabilities();
    const unsigned without = m_effective & ~ReadPastPermissions;
    effectiveCapabilities(&without);
    if (QFile file(path); file.open(QIODevice::ReadOnly)) {
        effectiveCapabilities(&m_effective);
        QFile::setPermissions(path, m_permissions);
        throw std::runtime_error("the file stays readable");
    }
}

UnreadableFile::~UnreadableFile()
{
    effectiveCapabilities(&m_effective);
    QFile::setPermissions(m_path, m_permissions);
}
