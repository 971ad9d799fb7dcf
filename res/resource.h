#pragma once
// Resource ids, one header per subsystem. The numbers are fixed: every text is looked up by them.

#include "res/strings/controls.h"
#include "res/strings/dcc.h"
#include "res/strings/foundation.h"
#include "res/strings/irc.h"
#include "res/strings/log.h"
#include "res/strings/commands.h"
#include "res/strings/mainframe.h"
#include "res/strings/macro.h"
#include "res/strings/net.h"
#include "res/strings/script.h"
#include "res/strings/settings.h"
#include "res/strings/dialogs.h"
#include "res/strings/lists.h"
#include "res/windows/log.h"
#include "res/windows/mainframe.h"
#include "res/windows/tray.h"
#include "res/windows/world.h"
#include "res/windows/dcc.h"
#include "res/windows/dccwindow.h"
#include "res/windows/script.h"
#include "res/windows/dialogs.h"
#include "res/windows/lists.h"
#include "res/windows/prompts.h"
#include "res/windows/autoop.h"
#include "res/windows/paste.h"
#include "res/windows/chanmode.h"
#include "res/windows/prefs.h"
#include "res/windows/serverpages.h"

// The main frame's icon, menu and accelerators.
#define IDR_MAINFRAME 128
