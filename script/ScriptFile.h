#pragma once
// A text file that a script opened with openFile.

#include "foundation/File.h"
#include "script/DispatchObject.h"

#include <memory>

class TScriptFile : public TDispatchObject {
public:
    bool Open(const CString& path, UINT codePage, bool readOnly);

    const TDispatchTable& GetDispatchTable() const override;

    HRESULT Size(TDispatchCall& call);
    HRESULT CodePage(TDispatchCall& call);
    HRESULT Close(TDispatchCall& call);
    HRESULT Truncate(TDispatchCall& call);
    HRESULT SeekToEnd(TDispatchCall& call);
    HRESULT ReadAll(TDispatchCall& call);
    HRESULT ReadLine(TDispatchCall& call);
    HRESULT Write(TDispatchCall& call);
    HRESULT WriteLine(TDispatchCall& call);

private:
    std::unique_ptr<TTextFile> file;
};
