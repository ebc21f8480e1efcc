#include "exchange/field_defs.h"

#include "core/collation.h"
#include "exchange/exchange_errors.h"

void TFieldDefs::Add(const std::string& name, TFieldType type, int size) {
  if (name.empty()) throw EDatabaseError("Field name missing");
  for (const TFieldDef& def : defs_) {
    if (SameText(def.Name, name)) throw EDatabaseError("Duplicate field name '" + name + "'");
  }
  if (type == TFieldType::ftString && size < 1) {
    throw EDatabaseError("Invalid field size for field '" + name + "'");
  }
  defs_.push_back(TFieldDef{name, type, type == TFieldType::ftString ? size : 0});
}
