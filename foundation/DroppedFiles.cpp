#include "foundation/DroppedFiles.h"

std::vector<CString> ReadDroppedFiles(HDROP drop)
{
    std::vector<CString> files;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; i++) {
        UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        CString path;
        UINT copied = ::DragQueryFileW(drop, i, path.GetBuffer((int)length + 1), length + 1);
        path.ReleaseBuffer((int)copied);
        files.push_back(path);
    }
    return files;
}
