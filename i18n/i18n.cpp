#include "i18n.h"

#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <string>

namespace bbcolour::i18n {

namespace {
constexpr char kDomain[] = "bbcolour";

// The folder of this program's executable, or empty.
std::string ProgramFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    const std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}
}  // namespace

void InitTranslations() {
    std::setlocale(LC_ALL, "");
    std::string folder = ProgramFolder() + "/../share/locale";
    struct stat info;
    const std::string probe = folder + "/zh_CN/LC_MESSAGES/" + kDomain + ".mo";
    if (ProgramFolder().empty() || stat(probe.c_str(), &info) != 0) folder = BBCOLOUR_LOCALEDIR;
    bindtextdomain(kDomain, folder.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    textdomain(kDomain);
}

}  // namespace bbcolour::i18n
