// Fuzz target of the popup-menu file.

#include "macro/PopupFile.h"
#include "tests/fuzz/FuzzDriver.h"

namespace {

void FuzzPopup(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"popupmenu.kcf";
    WriteFuzzFile(path, input);
    TPopupFile popup;
    popup.Load(path.c_str());
    for (const TPopupItem* item : popup.items)
        FuzzCheck(item != nullptr, "an empty item");
}

std::vector<std::string> PopupSeeds()
{
    std::wstring path = FuzzFolder() + L"seed.kcf";
    TPopupFile popup;
    popup.SetDefault();
    popup.Save(path.c_str());
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char chunk[65536];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return {bytes};
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<TFuzzTarget> targets = {
        {"popup", FuzzPopup, PopupSeeds, {"\t", "\r\n", "\\t", "\\", "-", "99999999999", "Encoding=UTF-8"}, 16384},
    };
    return RunFuzzMain(argc, argv, targets);
}
