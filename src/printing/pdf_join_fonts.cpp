// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The joining program copies fonts as they stand and never draws a glyph,
// so it has no use for the fonts that MuPDF builds in (some 40 MB of data in
// Debian's static library). MuPDF's font code, which comes along with the
// PDF code that the joining program does use, finds them through these
// lookups; defined here, they keep the library's own definitions, and the
// font data those reference, out of the program. Each answers that there is
// no such font, which MuPDF takes as it takes a build without built-in
// fonts.

#include <mupdf/fitz.h>

namespace {

const unsigned char *noFont(int *len)
{
    *len = 0;
    return nullptr;
}

} // namespace

const unsigned char *fz_lookup_builtin_font(fz_context *, const char *, int, int, int *len)
{
    return noFont(len);
}

const unsigned char *fz_lookup_base14_font(fz_context *, const char *, int *len)
{
    return noFont(len);
}

const unsigned char *fz_lookup_cjk_font(fz_context *, int, int *len, int *)
{
    return noFont(len);
}

const unsigned char *fz_lookup_cjk_font_by_language(fz_context *, const char *, int *len, int *)
{
    return noFont(len);
}

// No language names a CJK ordering that could be looked up.
int fz_lookup_cjk_ordering_by_language(const char *)
{
    return -1;
}

const unsigned char *fz_lookup_noto_font(fz_context *, int, int, int *len, int *)
{
    return noFont(len);
}

const unsigned char *fz_lookup_noto_math_font(fz_context *, int *len)
{
    return noFont(len);
}

const unsigned char *fz_lookup_noto_music_font(fz_context *, int *len)
{
    return noFont(len);
}

const unsigned char *fz_lookup_noto_symbol1_font(fz_context *, int *len)
{
    return noFont(len);
}

const unsigned char *fz_lookup_noto_symbol2_font(fz_context *, int *len)
{
    return noFont(len);
}

const unsigned char *fz_lookup_noto_emoji_font(fz_context *, int *len)
{
    return noFont(len);
}
