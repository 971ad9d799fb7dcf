#include "macro/MacroFile.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "foundation/Path.h"
#include "foundation/SafeFileName.h"
#include "foundation/StringList.h"
#include "foundation/StringUtils.h"

namespace {

const char kUtf8Marker[] = "1\tEncoding=UTF-8";

// The format has no escapes: a line end inside a field would end the rule's line and make the rest
// a rule of its own, and a TAB would shift every later field, so both are written as blanks.
CString OneLine(CString text)
{
    text.Replace(L'\r', L' ');
    text.Replace(L'\n', L' ');
    text.Replace(L'\t', L' ');
    return text;
}

// Any text whose leading decimal number is not 0.
bool ReadFlag(const CString& field) { return _wtoi(field) != 0; }

} // namespace

CString FormatMacroLine(const TMacroItem& item)
{
    CString line;
    line.Format(L"%d\t\t\t", item.disabled ? 1 : 0);
    line += OneLine(item.user) + L"\t" + OneLine(item.command) + L"\t" + OneLine(item.channel) + L"\t" +
            OneLine(item.message) + L"\t";
    CString states;
    states.Format(L"%d\t%d\t", item.ownState, item.senderState);
    line += states + OneLine(item.action) + L"\t" + OneLine(item.target) + L"\t" + OneLine(item.argument) + L"\t";
    line += item.stop ? L"1" : L"0";
    return line;
}

void ParseMacroLine(CString line, TMacroItem& item)
{
    item.disabled = ReadFlag(CutFirstTabToken(line));
    CutFirstTabToken(line); // two fields kept empty for older readers
    CutFirstTabToken(line);
    item.user = CutFirstTabToken(line);
    item.command = CutFirstTabToken(line);
    item.channel = CutFirstTabToken(line);
    item.message = CutFirstTabToken(line);
    item.ownState = _wtoi(CutFirstTabToken(line));
    item.senderState = _wtoi(CutFirstTabToken(line));
    item.action = CutFirstTabToken(line);
    item.target = CutFirstTabToken(line);
    item.argument = CutFirstTabToken(line);
    item.stop = ReadFlag(CutFirstTabToken(line));
}

void TMacroFile::Clear()
{
    for (TMacroItem* item : items)
        delete item;
    items.clear();
}

CString TMacroFile::GetFilePath(const CString& fileName) const
{
    // The name comes from settings and from what the files hand on: it must stay a bare name.
    // An empty one is the file ".kmf" that the settings window may make.
    if (folder.IsEmpty() || !IsSafeFileNameBeforeExtension(fileName, GetFileExtension()))
        return CString();
    return folder + fileName + GetFileExtension();
}

bool TMacroFile::Read()
{
    Clear();
    readError = 0;
    CString path = name.IsEmpty() ? CString() : GetFilePath(name);
    TStringAList lines;
    if (path.IsEmpty())
        return false;
    if (!lines.LoadFromFile(path)) {
        readError = ::GetLastError();
        if (!readError)
            readError = ERROR_READ_FAULT;
        return false;
    }
    bool utf8 = false;
    for (int index = 0; index < lines.GetCount(); index++) {
        const CStringA& bytes = lines.items[index];
        if (bytes.IsEmpty() || bytes[0] == '#')
            continue;
        if (index == 0 && IsEncodingMarkerLine(bytes, kUtf8Marker)) {
            utf8 = true;
            continue;
        }
        auto* item = new TMacroItem;
        ParseMacroLine(utf8 ? ConvertFromUtf8(bytes) : ConvertFromShiftJis(bytes), *item);
        items.push_back(item);
    }
    return true;
}

bool TMacroFile::Write() const
{
    CString path = name.IsEmpty() ? CString() : GetFilePath(name);
    if (path.IsEmpty())
        return false;
    CreateFolderTree(folder);
    // The old file stays until the new one is whole.
    TSafeFileWriter file;
    if (!file.Open(path))
        return false;
    file.Write(CStringA(kUtf8Marker) + "\r\n");
    for (const TMacroItem* item : items)
        file.Write(ConvertToUtf8(FormatMacroLine(*item)) + "\r\n");
    return file.Commit();
}
