// The about box's credits: who made the pictures, and the notices the libraries' licences ask
// every program built with them to show.

#include "dialogs/AboutDialog.h"

#include <initializer_list>

namespace {

// The licence texts as the linked libraries' sources publish them, made by the build.
#include "dialogs/AboutLicences.inc"

// The box's font has Latin letters only, so the credits are written in them.
const wchar_t* const kIcons[] = {
    L"Icons",
    L"Application icons; icons of the tool bars, list views and tree views:",
    L"  the Ketroval2 developers",
};

const wchar_t* const kJpeg[] = {
    L"This software is based in part on the work of the Independent JPEG Group.",
};

const wchar_t* const kIjgTitle[] = {
    L"The IJG (Independent JPEG Group) License, from libjpeg-turbo's README.ijg:",
};

const wchar_t* const kOpenSslTitle[] = {
    L"OpenSSL",
    L"-------",
};

struct TBlock {
    const wchar_t* const* lines;
    size_t count;
};

template <size_t N> TBlock Block(const wchar_t* const (&lines)[N]) { return {lines, N}; }

} // namespace

CString CAboutDlg::BuildCreditsText()
{
    CString text;
    bool first = true;
    for (const TBlock& block :
         {Block(kIcons), Block(kJpeg), Block(kJpegLicence), Block(kIjgTitle), Block(kIjgLicence),
          Block(kOnigurumaLicence), Block(kOpenSslTitle), Block(kOpenSslCopyright), Block(kOpenSslLicence)}) {
        if (!first)
            text += L"\r\n";
        first = false;
        for (size_t i = 0; i < block.count; i++)
            text += CString(block.lines[i]) + L"\r\n";
    }
    return text;
}
