// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// glyphora-join-pdf OUTPUT-DESCRIPTOR PDF...
//
// Writes the pages of the PDF files, one file after the other, as one PDF
// into the open file OUTPUT-DESCRIPTOR, with the document information of the
// first file. Fonts, pictures and page contents are copied as they stand,
// never unpacked, and each file's shared resources once. Exits 0 when the
// whole document is written, else 1 with the reason on standard error.
//
// A program of its own, started by the printing code: MuPDF holds the pages
// it copies until the document is written, about 8 KB for every printed
// font, which is memory that the program need not keep once the sheet is
// out. It writes only to the descriptor it is given, so the document never
// has a name before the program gives it one.

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int Usage = 2;
constexpr int OutputBufferSize = 1 << 16;

struct Output
{
    int descriptor;
    int64_t written = 0;
};

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

void appendFiles(fz_context *ctx, pdf_document *document, char **paths, int count)
{
    for (int i = 0; i < count; ++i)
        appendFile(ctx, document, paths[i], i == 0);
}

int join(fz_context *ctx, Output &target, char **paths, int count)
{
    pdf_document *document = nullptr;
    fz_output *output = nullptr;
    fz_var(document);
    fz_var(output);
    fz_try(ctx)
    {
        document = pdf_create_document(ctx);
        appendFiles(ctx, document, paths, count);
        output = fz_new_output(ctx, OutputBufferSize, &target, writeOutput, nullptr, nullptr);
        output->tell = outputPosition;
        pdf_write_options options = pdf_default_write_options;
        pdf_write_document(ctx, document, output, &options);
        fz_close_output(ctx, output);
    }
    fz_always(ctx)
    {
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
    char *end = nullptr;
    const long descriptor = argc > 2 ? std::strtol(argv[1], &end, 10) : -1;
    if (argc < 3 || *argv[1] == '\0' || *end != '\0' || descriptor < 0 || descriptor > INT_MAX) {
        std::fprintf(stderr, "usage: %s OUTPUT-DESCRIPTOR PDF...\n", argv[0]);
        return Usage;
    }
    fz_context *ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!ctx) {
        std::fprintf(stderr, "%s\n", std::strerror(ENOMEM));
        return Failure;
    }
    fz_set_error_callback(ctx, quiet, nullptr);
    fz_set_warning_callback(ctx, quiet, nullptr);
    Output target{static_cast<int>(descriptor)};
    const int status = join(ctx, target, argv + 2, argc - 2);
    fz_drop_context(ctx);
    return status;
}
