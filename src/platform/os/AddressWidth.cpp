#include "platform/os/AddressWidth.h"

#include <QStringList>
#include <sys/utsname.h>

namespace {

std::optional<QString> g_widthForTesting;

} // namespace

QString AddressWidthOfMachine(const QString& machine)
{
    // Exact names first, because "arm64" would otherwise pass for a 32-bit "arm*"; "armv8l"
    // is what a 64-bit ARM processor reports under a 32-bit system, which runs 32-bit
    // packages only.
    static const QStringList wide = {"x86_64", "amd64",   "aarch64",    "arm64",   "ia64",
                                     "alpha",  "s390x",   "sparc64",    "riscv64", "mips64",
                                     "ppc64",  "ppc64le", "loongarch64"};
    static const QStringList narrow = {"i386", "i486", "i586",   "i686",  "x86",    "ppc",
                                       "s390", "mips", "mipsel", "sparc", "riscv32"};
    const QString name = machine.trimmed().toLower();
    if (wide.contains(name) || name.startsWith("mips64"))
        return "64";
    if (narrow.contains(name) || name.startsWith("arm"))
        return "32";
    return "";
}

QString GetProcessorAddressWidth()
{
    if (g_widthForTesting)
        return *g_widthForTesting;
    utsname system{};
    if (uname(&system) != 0)
        return "";
    return AddressWidthOfMachine(QString::fromLocal8Bit(system.machine));
}

void SetAddressWidthForTesting(const std::optional<QString>& width)
{
    g_widthForTesting = width;
}
