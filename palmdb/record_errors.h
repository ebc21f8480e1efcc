// The error texts of the record layout, shared by the readers and writers of record bytes:
// a field that does not fit its record, and a record written past the size reserved for it.
#pragma once

inline constexpr const char* kFieldBeyondRecord = "A mapped field went beyond the end of the physical record structure";
inline constexpr const char* kRecordBeyondLimits = "LocalToRemoteRecord: Record went beyond it's limits";
