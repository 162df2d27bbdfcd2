#include "app/module1.h"

namespace kestrane {

std::string OSFamilyFor(const OsVersion& version) {
  if (version.platformId == 1) {
    const auto minor = version.minor;
    return minor == 0 || minor == 10 || minor == 90 ? kFamily95 : kFamilyFailed;
  }
  if (version.platformId == 2) return version.major == 6 ? kFamilyVista : kFamilyNt;
  return kFamilyFailed;
}

std::string GetOSFamily(Shell& shell) { return OSFamilyFor(shell.Version()); }

void OpenWebPage(Shell& shell, const std::string& address) { shell.OpenWebPage(address); }

}  // namespace kestrane
