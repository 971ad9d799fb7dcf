#include "irc/WhoListFile.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "foundation/Path.h"
#include "irc/Member.h"

CString MakeWhoListFileName(const CString& channel)
{
    CString name = channel + L"-members.txt";
    ReplaceInvalidFileNameChars(name);
    return name;
}

bool SaveWhoList(const CString& path, const std::vector<const TIRCMember*>& rows, unsigned codePage)
{
    TSafeFileWriter writer;
    if (!writer.Open(path))
        return false;
    for (const TIRCMember* member : rows) {
        CString line = member->nick + L"\t" + member->user + L"\t" + member->host + L"\t" + member->server + L"\t" +
                       member->fullName + L"\r\n";
        writer.Write(ConvertToCodePage(line, codePage));
    }
    return writer.Commit();
}
