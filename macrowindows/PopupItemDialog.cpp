#include "macrowindows/PopupItemDialog.h"

namespace {

const int kTextLimit = 10000;

} // namespace

void TPopupItemDialog::FillLists() { FillActionLists({L"%a"}); }

void TPopupItemDialog::Exchange(TDialogExchange& io)
{
    io.Edit(IDC_POPUP_ITEM_NAME, item.name, kTextLimit);
    ExchangeAction(io, item.action, item.target, item.actionInfo);
}
