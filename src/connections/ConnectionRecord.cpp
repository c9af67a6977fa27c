#include "ConnectionRecord.h"

#include "db/CADODatabase.h"

ConnectionRecord::ConnectionRecord() = default;
ConnectionRecord::~ConnectionRecord() = default;
