// bbcolour-cli: the colour code (or its preview HTML) of a text, for scripts.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "bbcolour/charset.h"
#include "bbcolour/colour_code.h"
#include "bbcolour/preview_html.h"
#include "bbcolour/splitter.h"
#include "encoding.h"
#include "i18n.h"

namespace {

using bbcolour::cli::Encoding;

constexpr const char* kUsage =
    N_("Usage: bbcolour-cli [--html] [--encoding utf-8|gb18030|gbk] [FILE]\n");

constexpr const char* kHelp = N_(
    "Wraps every character of FILE (or standard input) in a BBCode colour tag\n"
    "of its own and writes the markup to standard output. The colours follow\n"
    "one fixed sequence, so the same text always gives the same markup.\n"
    "\n"
    "  --html             write the preview HTML of the markup instead\n"
    "  --encoding NAME    how the input is encoded and the output written:\n"
    "                     utf-8 (default), gb18030 or gbk; with gb18030 and\n"
    "                     gbk the bytes pass through unconverted\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 1 for unreadable or invalid input, 2 for bad usage.\n");

struct Options {
    bool html = false;
    Encoding encoding = Encoding::Utf8;
    const char* file = nullptr;  // standard input when null
};

// printf into a string, for messages whose translation places the argument.
std::string Format(const char* format, const char* argument) {
    const int n = std::snprintf(nullptr, 0, format, argument);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, argument);
    out.pop_back();
    return out;
}

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "bbcolour-cli: %s\n%s%s", problem.c_str(), _(kUsage),
                 _("Try 'bbcolour-cli --help' for more information.\n"));
    return 2;
}

// Reads all of `file` (or standard input); false with errno set on failure.
bool ReadAll(std::FILE* file, std::string& out) {
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) out.append(buffer, n);
    return !std::ferror(file);
}

// Generates and writes the output a piece at a time, so a large input never
// exists as a whole in markup, HTML and UTF-8 at once. Pieces end on unit
// boundaries, which gives the same bytes as one generation.
bool WriteColoured(std::string_view text, const Options& options, std::FILE* out) {
    constexpr std::size_t kPiece = 64 * 1024;
    bbcolour::RandomGenerator generator;  // fresh: the first unit is always 2923BE
    bbcolour::charset::Gb18030ToUtf8 toUtf8;
    std::string code, utf8;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string_view rest = text.substr(pos);
        const std::size_t cut = bbcolour::UnitBoundaryFrom(rest, kPiece);
        code.clear();
        bbcolour::AppendColourCode(rest.substr(0, cut), generator, code);
        pos += cut;
        if (options.html) code = bbcolour::ConvertCodeToHtml(code);
        std::string_view piece = code;
        if (options.encoding == Encoding::Utf8) {
            utf8.clear();
            toUtf8.Append(code, utf8);
            piece = utf8;
        }
        if (std::fwrite(piece.data(), 1, piece.size(), out) != piece.size()) return false;
    }
    return std::fflush(out) == 0;
}

int Run(int argc, char** argv) {
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--help") {
            std::fputs(_(kUsage), stdout);
            std::fputs(_(kHelp), stdout);
            return 0;
        } else if (!optionsEnded && arg == "--version") {
            std::printf("bbcolour-cli %s\n", BBCOLOUR_VERSION);
            return 0;
        } else if (!optionsEnded && arg == "--html") {
            options.html = true;
        } else if (!optionsEnded && (arg == "--encoding" || arg.starts_with("--encoding="))) {
            std::string_view name;
            if (arg == "--encoding") {
                if (++i == argc) return UsageError(_("option '--encoding' needs a value"));
                name = argv[i];
            } else {
                name = arg.substr(std::strlen("--encoding="));
            }
            const auto encoding = bbcolour::cli::ParseEncoding(name);
            if (!encoding) return UsageError(Format(_("unknown encoding '%s'"), std::string(name).c_str()));
            options.encoding = *encoding;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError(Format(_("unknown option '%s'"), argv[i]));
        } else if (options.file) {
            return UsageError(_("only one FILE may be given"));
        } else {
            options.file = argv[i];
        }
    }

    std::string input;
    const bool fromStdin = !options.file || std::string_view(options.file) == "-";
    std::FILE* in = fromStdin ? stdin : std::fopen(options.file, "rb");
    if (!in || !ReadAll(in, input)) {
        std::fprintf(stderr, _("bbcolour-cli: cannot read '%s': %s\n"),
                     fromStdin ? _("standard input") : options.file, std::strerror(errno));
        return 1;
    }
    if (!fromStdin) std::fclose(in);

    const auto prepared = bbcolour::cli::PrepareInput(std::move(input), options.encoding);
    if (prepared.problem) {
        std::fprintf(stderr, _("bbcolour-cli: input %s at byte offset %zu\n"), _(prepared.problem->what.c_str()),
                     prepared.problem->offset);
        return 1;
    }
    if (!WriteColoured(prepared.text, options, stdout)) {
        std::fprintf(stderr, _("bbcolour-cli: cannot write output: %s\n"), std::strerror(errno));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bbcolour::i18n::InitTranslations();
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bbcolour-cli: %s\n", e.what());
        return 1;
    }
}
