#include "launcher/core/launcher_text.h"

#include <cerrno>
#include <new>
#include <system_error>

#include "kovrin_version.h"

namespace kovrin::launcher {

std::string LauncherCaption(int major, int minor, int revision) {
  return "Kovrin 2002 - " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

std::string LauncherCaption() { return LauncherCaption(kKovrinVersionMajor, kKovrinVersionMinor, kKovrinVersionPatch); }

ErrorDescription DescribeError(std::exception_ptr error) {
  try {
    std::rethrow_exception(std::move(error));
  } catch (const UntrappedError& e) {
    return {e.Number(), e.what()};
  } catch (const std::system_error& e) {
    return {e.code().value(), e.what()};
  } catch (const std::bad_alloc&) {
    return {ENOMEM, "out of memory"};
  } catch (const std::exception& e) {
    return {-1, e.what()};
  } catch (...) {
    return {-1, "unknown error"};
  }
}

std::string UntrappedErrorText(const ErrorDescription& error) {
  return "Error " + std::to_string(error.number) + ": " + error.text;
}

}  // namespace kovrin::launcher
