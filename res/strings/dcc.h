#pragma once

#define IDS_DCC_NO_FREE_PORT 10060
