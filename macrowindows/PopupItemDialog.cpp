#include "macrowindows/PopupItemDialog.h"

void TPopupItemDialog::FillLists() { FillActionLists({L"%a"}); }

void TPopupItemDialog::Exchange(TDialogExchange& io)
{
    io.Edit(IDC_POPUP_ITEM_NAME, item.name, kTextLimit);
    ExchangeAction(io, item.action, item.target, item.actionInfo);
}
