#pragma once

#define IDS_NICK_DIALOG_TITLE 10330
