// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// glyphora-join-pdf [--outline FILE] [--progress] OUTPUT-DESCRIPTOR PDF...
//
// Writes the pages of the PDF files, one file after the other, as one PDF
// into the open file OUTPUT-DESCRIPTOR, with the document information of the
// first file. Fonts, pictures and page contents are copied as they stand,
// never unpacked, and each file's shared resources once. Exits 0 when the
// whole document is written, else 1 with the reason on standard error.
//
// The outline FILE holds UTF-8 lines that the document gets besides:
//
//   info KEY TEXT                 the document information's KEY set to TEXT
//   entry DEPTH PAGE TOP TITLE    an outline entry
//
// An entry points at PAGE (from 1) of the joined document, TOP points below
// the top edge of the page. DEPTH 0 is the outline's top level; an entry is
// at most one level deeper than the one before it, under which it goes. An
// entry that has entries under it starts closed.
//
// With --progress, standard output gets a line with the percentage of the
// work done each time it grows: the files' pages copied, then the document
// written, each about half of the time.
//
// A program of its own, started by the printing code: MuPDF holds the pages
// it copies until the document is written, about 8 KB for every printed
// font, which is memory that the program need not keep once the sheet is
// out. It writes only to the descriptor it is given, so the document never
// has a name before the program gives it one.

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int Usage = 2;
constexpr int OutputBufferSize = 1 << 16;

// How far the join is, in bytes: those of the files whose pages are
// copied, then those written, which come to about as many.
class Progress
{
public:
    Progress(bool shown, int64_t filesBytes) : m_shown(shown), m_filesBytes(std::max<int64_t>(filesBytes, 1)) {}

    void filesCopied(int64_t bytes) { show(bytes / 2); }
    void written(int64_t bytes) { show(m_filesBytes / 2 + std::min(bytes, m_filesBytes) / 2); }

private:
    void show(int64_t doneBytes)
    {
        // 100 comes from the program's end, once the file is whole.
        const int percent = int(std::min<int64_t>(doneBytes * 100 / m_filesBytes, 99));
        if (!m_shown || percent <= m_percent)
            return;
        m_percent = percent;
        std::printf("%d\n", percent);
        std::fflush(stdout);
    }

    bool m_shown;
    int64_t m_filesBytes;
    int m_percent = 0;
};

struct Output
{
    int descriptor;
    Progress &progress;
    int64_t written = 0;
};

struct InfoField
{
    std::string key;
    std::string text;
};

struct OutlineEntry
{
    int depth;
    int page;
    double top;
    std::string title;
};

struct Outline
{
    std::vector<InfoField> info;
    std::vector<OutlineEntry> entries;
};

// An outline item that is being given its items, and the last of them so far.
struct OpenItem
{
    pdf_obj *item;
    pdf_obj *lastChild;
    int children;
};

// The line's next blank-separated field, or false when there is none.
bool nextField(const std::string &line, size_t &at, std::string &field)
{
    if (at >= line.size())
        return false;
    const size_t end = std::min(line.find(' ', at), line.size());
    field = line.substr(at, end - at);
    at = end + 1;
    return !field.empty();
}

bool toInt(const std::string &text, int &value)
{
    char *end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number < 0 || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

bool toNumber(const std::string &text, double &value)
{
    char *end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && value >= 0;
}

// Reads an outline description; on a fault, says where and returns false.
bool readOutline(const char *path, Outline &outline, std::string &why)
{
    FILE *file = std::fopen(path, "r");
    if (!file) {
        why = std::string(path) + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[1 << 14];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    const bool readFailed = std::ferror(file);
    std::fclose(file);
    if (readFailed) {
        why = std::string(path) + ": cannot be read";
        return false;
    }

    int number = 0;
    int depth = -1;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        size_t at = 0;
        std::string kind, field;
        bool fine = nextField(line, at, kind);
        if (fine && kind == "info") {
            InfoField info;
            fine = nextField(line, at, info.key) && at <= line.size();
            info.text = line.substr(std::min(at, line.size()));
            outline.info.push_back(std::move(info));
        } else if (fine && kind == "entry") {
            OutlineEntry entry;
            fine = nextField(line, at, field) && toInt(field, entry.depth) && entry.depth <= depth + 1
                && nextField(line, at, field) && toInt(field, entry.page) && entry.page > 0
                && nextField(line, at, field) && toNumber(field, entry.top);
            entry.title = line.substr(std::min(at, line.size()));
            depth = entry.depth;
            outline.entries.push_back(std::move(entry));
        } else {
            fine = false;
        }
        if (!fine) {
            why = std::string(path) + ":" + std::to_string(number) + ": not an outline line";
            return false;
        }
    }
    return true;
}

void writeOutput(fz_context *ctx, void *state, const void *data, size_t size)
{
    auto *output = static_cast<Output *>(state);
    const auto *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t written = ::write(output->descriptor, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            fz_throw(ctx, FZ_ERROR_GENERIC, "%s", std::strerror(errno));
        bytes += written;
        size -= size_t(written);
        output->written += written;
    }
    output->progress.written(output->written);
}

// Where the writer records each object's offset for the cross-reference
// table.
int64_t outputPosition(fz_context *, void *state)
{
    return static_cast<Output *>(state)->written;
}

// MuPDF reports what it throws on standard error too; the one message that
// counts is written once, by main().
void quiet(void *, const char *) {}

void copyPages(fz_context *ctx, pdf_document *document, pdf_graft_map *map, pdf_document *source, bool first)
{
    const int pages = pdf_count_pages(ctx, source);
    for (int page = 0; page < pages; ++page)
        pdf_graft_mapped_page(ctx, map, -1, source, page);
    pdf_obj *info = pdf_dict_get(ctx, pdf_trailer(ctx, source), PDF_NAME(Info));
    if (first && info) {
        pdf_obj *target = pdf_graft_mapped_object(ctx, map, info);
        pdf_dict_put_drop(ctx, pdf_trailer(ctx, document), PDF_NAME(Info), target);
    }
}

// One map per file: the pages of a file share its fonts, which go over once.
void appendFile(fz_context *ctx, pdf_document *document, const char *path, bool first)
{
    pdf_document *source = pdf_open_document(ctx, path);
    pdf_graft_map *map = nullptr;
    fz_var(map);
    fz_try(ctx)
    {
        map = pdf_new_graft_map(ctx, document);
        copyPages(ctx, document, map, source, first);
    }
    fz_always(ctx)
    {
        pdf_drop_graft_map(ctx, map);
        // The file's own objects go now; what the document needs of them
        // has been copied.
        pdf_drop_document(ctx, source);
    }
    fz_catch(ctx)
    {
        fz_rethrow(ctx);
    }
}

int64_t fileBytes(const char *path)
{
    struct stat status = {};
    return ::stat(path, &status) == 0 ? int64_t(status.st_size) : 0;
}

void appendFiles(fz_context *ctx, pdf_document *document, char **paths, int count, Progress &progress)
{
    int64_t copied = 0;
    for (int i = 0; i < count; ++i) {
        appendFile(ctx, document, paths[i], i == 0);
        copied += fileBytes(paths[i]);
        progress.filesCopied(copied);
    }
}

void setInfo(fz_context *ctx, pdf_document *document, const std::vector<InfoField> &fields)
{
    if (fields.empty())
        return;
    pdf_obj *trailer = pdf_trailer(ctx, document);
    pdf_obj *info = pdf_dict_get(ctx, trailer, PDF_NAME(Info));
    if (!info) {
        info = pdf_add_new_dict(ctx, document, 4);
        pdf_dict_put_drop(ctx, trailer, PDF_NAME(Info), info);
    }
    for (const InfoField &field : fields)
        pdf_dict_put_drop(ctx, info, pdf_new_name(ctx, field.key.c_str()), pdf_new_text_string(ctx, field.text.c_str()));
}

// [page /XYZ null top null]: the page at the entry's height, the left edge
// and the zoom as the reader has them.
pdf_obj *destination(fz_context *ctx, pdf_document *document, pdf_obj *page, double top)
{
    const fz_rect box = pdf_to_rect(ctx, pdf_dict_get_inheritable(ctx, page, PDF_NAME(MediaBox)));
    pdf_obj *dest = pdf_new_array(ctx, document, 5);
    pdf_array_push(ctx, dest, page);
    pdf_array_push(ctx, dest, PDF_NAME(XYZ));
    pdf_array_push(ctx, dest, PDF_NULL);
    pdf_array_push_real(ctx, dest, box.y1 - top);
    pdf_array_push(ctx, dest, PDF_NULL);
    return dest;
}

// Ends the items at open's levels from depth on: an item with items under
// it stays closed, which a negative count says.
void closeLevels(fz_context *ctx, std::vector<OpenItem> &open, size_t depth)
{
    while (open.size() > depth) {
        const OpenItem &level = open.back();
        if (level.children > 0)
            pdf_dict_put_int(ctx, level.item, PDF_NAME(Count), open.size() == 1 ? level.children : -level.children);
        pdf_drop_obj(ctx, level.item);
        pdf_drop_obj(ctx, level.lastChild);
        open.pop_back();
    }
}

// The outline, built as a whole in one pass: each item is linked to its
// parent and to the item before it as it comes.
void addOutline(fz_context *ctx, pdf_document *document, const std::vector<OutlineEntry> &entries,
                std::vector<pdf_obj *> &pages, std::vector<OpenItem> &open)
{
    if (entries.empty())
        return;
    const int pageCount = pdf_count_pages(ctx, document);
    for (int page = 0; page < pageCount; ++page)
        pages.push_back(pdf_lookup_page_obj(ctx, document, page));

    pdf_obj *root = pdf_dict_get(ctx, pdf_trailer(ctx, document), PDF_NAME(Root));
    pdf_obj *outlines = pdf_add_new_dict(ctx, document, 4);
    pdf_dict_put(ctx, root, PDF_NAME(Outlines), outlines);
    pdf_dict_put(ctx, outlines, PDF_NAME(Type), PDF_NAME(Outlines));
    // A reader shows the outline beside the pages when it opens the file.
    pdf_dict_put(ctx, root, PDF_NAME(PageMode), PDF_NAME(UseOutlines));
    open.push_back({outlines, nullptr, 0});

    for (const OutlineEntry &entry : entries) {
        if (entry.page > pageCount)
            fz_throw(ctx, FZ_ERROR_GENERIC, "outline entry \"%s\": no page %d", entry.title.c_str(), entry.page);
        closeLevels(ctx, open, size_t(entry.depth) + 1);
        pdf_obj *item = pdf_add_new_dict(ctx, document, 6);
        // The next entries may go under this one.
        open.push_back({item, nullptr, 0});
        OpenItem &parent = open[open.size() - 2];
        pdf_dict_put_text_string(ctx, item, PDF_NAME(Title), entry.title.c_str());
        pdf_dict_put(ctx, item, PDF_NAME(Parent), parent.item);
        pdf_dict_put_drop(ctx, item, PDF_NAME(Dest), destination(ctx, document, pages[entry.page - 1], entry.top));
        if (parent.lastChild) {
            pdf_dict_put(ctx, parent.lastChild, PDF_NAME(Next), item);
            pdf_dict_put(ctx, item, PDF_NAME(Prev), parent.lastChild);
        } else {
            pdf_dict_put(ctx, parent.item, PDF_NAME(First), item);
        }
        pdf_dict_put(ctx, parent.item, PDF_NAME(Last), item);
        pdf_drop_obj(ctx, parent.lastChild);
        parent.lastChild = pdf_keep_obj(ctx, item);
        ++parent.children;
    }
}

int join(fz_context *ctx, Output &target, const Outline &outline, char **paths, int count)
{
    pdf_document *document = nullptr;
    fz_output *output = nullptr;
    // Outside the guarded block, whose failures jump past what is declared
    // in it.
    std::vector<pdf_obj *> pages;
    std::vector<OpenItem> open;
    fz_var(document);
    fz_var(output);
    fz_try(ctx)
    {
        document = pdf_create_document(ctx);
        appendFiles(ctx, document, paths, count, target.progress);
        setInfo(ctx, document, outline.info);
        addOutline(ctx, document, outline.entries, pages, open);
        closeLevels(ctx, open, 0);
        output = fz_new_output(ctx, OutputBufferSize, &target, writeOutput, nullptr, nullptr);
        output->tell = outputPosition;
        pdf_write_options options = pdf_default_write_options;
        pdf_write_document(ctx, document, output, &options);
        fz_close_output(ctx, output);
    }
    fz_always(ctx)
    {
        for (const OpenItem &level : open) {
            pdf_drop_obj(ctx, level.item);
            pdf_drop_obj(ctx, level.lastChild);
        }
        fz_drop_output(ctx, output);
        pdf_drop_document(ctx, document);
    }
    fz_catch(ctx)
    {
        std::fprintf(stderr, "%s\n", fz_caught_message(ctx));
        return Failure;
    }
    return Success;
}

} // namespace

int main(int argc, char **argv)
{
    // The options come first.
    const char *outlinePath = nullptr;
    bool showProgress = false;
    for (;;) {
        if (argc > 2 && std::strcmp(argv[1], "--outline") == 0) {
            outlinePath = argv[2];
            argc -= 2;
            argv += 2;
        } else if (argc > 1 && std::strcmp(argv[1], "--progress") == 0) {
            showProgress = true;
            --argc;
            ++argv;
        } else {
            break;
        }
    }
    char *end = nullptr;
    const long descriptor = argc > 2 ? std::strtol(argv[1], &end, 10) : -1;
    if (argc < 3 || *argv[1] == '\0' || *end != '\0' || descriptor < 0 || descriptor > INT_MAX) {
        std::fprintf(stderr, "usage: glyphora-join-pdf [--outline FILE] [--progress] OUTPUT-DESCRIPTOR PDF...\n");
        return Usage;
    }
    Outline outline;
    std::string why;
    if (outlinePath && !readOutline(outlinePath, outline, why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return Failure;
    }
    fz_context *ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!ctx) {
        std::fprintf(stderr, "%s\n", std::strerror(ENOMEM));
        return Failure;
    }
    fz_set_error_callback(ctx, quiet, nullptr);
    fz_set_warning_callback(ctx, quiet, nullptr);
    int64_t filesBytes = 0;
    for (int i = 2; i < argc; ++i)
        filesBytes += fileBytes(argv[i]);
    Progress progress(showProgress, filesBytes);
    Output target{static_cast<int>(descriptor), progress};
    const int status = join(ctx, target, outline, argv + 2, argc - 2);
    fz_drop_context(ctx);
    return status;
}
