// The four tables the questionnaire exchange moves between the handheld and the answers database
// "answer.mdb": which handheld field pairs with which database column, and the statements used.
#pragma once

#include <string>
#include <vector>

#include "palmdb/palm_catalogue.h"

enum class TQuestionnaireValueKind { Integer, Text, Date };

struct TQuestionnaireColumn {
  const char* Handheld;
  const char* Database;
  TQuestionnaireValueKind Kind;
};

struct TQuestionnaireTableDef {
  TpfgPalmRemoteTable TPalmCatalogue::*Table;
  std::vector<std::string> Select;
  std::vector<std::string> Insert;  // empty for the tables read from the database
  std::vector<TQuestionnaireColumn> Columns;
};

// Written into the database, handheld to desktop; each row also carries the KPK column.
extern const TQuestionnaireTableDef kAnswerTable;
extern const TQuestionnaireTableDef kAnswerItemTable;
// Read from the database, desktop to handheld, in the order of their statements.
extern const TQuestionnaireTableDef kQuestTable;
extern const TQuestionnaireTableDef kQuestItemTable;

// The column that names the handheld in every written row.
inline constexpr const char* kHandheldColumn = "KPK";
