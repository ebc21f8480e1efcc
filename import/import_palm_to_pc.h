// ImportPalmToPc: the handheld's order headers, order lines, cash, route work and work protocol
// into the exchange files of the "TXT" and "XML" formats, then the finishing stage (files that
// received nothing are deleted, the clearing of the imported orders is offered).
#pragma once

#include <cstdint>

#include "exchange/txt_table.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

// Returns the number of order headers written (0 under "DBF", where no file is written).
// Errors of the order steps and of the clearing pass; the cash and route-work steps report
// theirs in a message box, the protocol step drops its own.
int32_t ImportPalmToPc(TExchangeSession& session, TPalmCatalogue& catalogue, TcsTXTTable& text_table);
