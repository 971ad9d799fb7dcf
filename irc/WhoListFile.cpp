#include "irc/WhoListFile.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "foundation/SafeFileName.h"
#include "irc/Member.h"

CString MakeWhoListFileName(const CString& channel) { return MakeSafeFileNamePart(channel + L"-members.txt"); }

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
