#pragma once

#include <QString>
#include <optional>

// The processor's address width as text: "64" on a 64-bit machine, "32" on a 32-bit one,
// "" when the machine is not one this function knows. Learnt from uname's machine name,
// so a 32-bit program on a 64-bit kernel still answers "64", as the processor does.
QString GetProcessorAddressWidth();

// The width a machine name (uname -m) stands for; "" for a name not known here.
QString AddressWidthOfMachine(const QString& machine);

// Makes GetProcessorAddressWidth answer the given text; an empty optional goes back to
// the real machine.
void SetAddressWidthForTesting(const std::optional<QString>& width);
