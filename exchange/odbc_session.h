// TmSession: the ODBC environment. The process-wide one binds the driver manager and allocates
// its environment handle (ODBC 3) on the first connection, and frees it when the library unloads.
#pragma once

#include <sql.h>

class TmSession {
 public:
  TmSession() = default;
  ~TmSession();
  TmSession(const TmSession&) = delete;
  TmSession& operator=(const TmSession&) = delete;

  // The environment handle, allocated on first use. Throws the binding's errors,
  // "Can`t allocate enviroument handle" or "Can`t set enviroument attribute" (ESQLerror).
  SQLHENV Environment();

 private:
  SQLHENV environment_ = SQL_NULL_HENV;
};

// The process-wide session every connection uses unless it names another.
TmSession& DefaultSession();
