// The catalogue of the sales application's 23 handheld databases: one configured table per
// database (name, type, version, options and record layout), under its component name.
#pragma once

#include <array>
#include <string_view>

#include "palmdb/palm_remote_table.h"

class TPalmCatalogue {
 public:
  static constexpr size_t kTableCount = 23;

  TPalmCatalogue();
  TPalmCatalogue(const TPalmCatalogue&) = delete;
  TPalmCatalogue& operator=(const TPalmCatalogue&) = delete;

  TpfgPalmRemoteTable ptOrder{"ptOrder"};
  TpfgPalmRemoteTable ptOrderItem{"ptOrderItem"};
  TpfgPalmRemoteTable ptProduct{"ptProduct"};
  TpfgPalmRemoteTable ptProductIndex{"ptProductIndex"};
  TpfgPalmRemoteTable ptCustomer{"ptCustomer"};
  TpfgPalmRemoteTable ptCategory{"ptCategory"};
  TpfgPalmRemoteTable ptTypePayment{"ptTypePayment"};
  TpfgPalmRemoteTable ptTypePrice{"ptTypePrice"};
  TpfgPalmRemoteTable ptDoc{"ptDoc"};
  TpfgPalmRemoteTable ptCurrency{"ptCurrency"};
  TpfgPalmRemoteTable ptCurrencyCurs{"ptCurrencyCurs"};
  TpfgPalmRemoteTable ptCash{"ptCash"};
  TpfgPalmRemoteTable ptCustomerIndex{"ptCustomerIndex"};
  TpfgPalmRemoteTable ptRoute{"ptRoute"};
  TpfgPalmRemoteTable ptRouteIndex{"ptRouteIndex"};
  TpfgPalmRemoteTable ptTradeAgent{"ptTradeAgent"};
  TpfgPalmRemoteTable ptQuest{"ptQuest"};
  TpfgPalmRemoteTable ptQuestItem{"ptQuestItem"};
  TpfgPalmRemoteTable ptAnswer{"ptAnswer"};
  TpfgPalmRemoteTable ptAnswerItem{"ptAnswerItem"};
  TpfgPalmRemoteTable ptNote1{"ptNote1"};
  TpfgPalmRemoteTable ptNote2{"ptNote2"};
  TpfgPalmRemoteTable ptProtocol{"ptProtocol"};

  // All 23 tables in catalogue order.
  const std::array<TpfgPalmRemoteTable*, kTableCount>& Tables() const { return tables_; }
  // The table of a database name (matched exactly, as the handheld does), or nullptr.
  TpfgPalmRemoteTable* FindByDatabaseName(std::string_view name) const;

 private:
  std::array<TpfgPalmRemoteTable*, kTableCount> tables_;
};
