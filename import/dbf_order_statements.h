// The SQL texts of the dBase order output: the three table creations per driver family, and the
// select and insert statements of the live queries over "orders.dbf", "order.dbf" and "orderitem.dbf".
#pragma once

#include <string>
#include <vector>

struct TLiveQueryTexts {
  std::vector<std::string> Select;
  std::vector<std::string> Insert;
};

// The creations in the order they run: orders, order, order lines. The FoxPro family names each
// table inside the exchange directory (ending with '/'); the dBase family names the file alone.
std::vector<std::vector<std::string>> DbfOrderTableCreations(bool foxpro, const std::string& exchange_directory);

const TLiveQueryTexts& CombinedOrdersQueryTexts();
const TLiveQueryTexts& OrderHeadersQueryTexts();
const TLiveQueryTexts& OrderLinesQueryTexts();
