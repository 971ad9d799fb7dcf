#pragma once

// The protocol log and script console window; its view is made in code.
#define IDD_PROTOCOL_LOG 134
// The plain popup of the protocol log's view.
#define IDR_PROTOCOL_LOG_POPUP 197
#define ID_EDIT_COPY 57634
