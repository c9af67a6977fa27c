#pragma once

#include <cstdint>

// The numbering of the ADO object model that the rest of the program relies on: data types,
// field attributes, object states, cursor and lock values, options, event status, schema
// numbers and the status codes errors carry. Plain constants, usable from any thread.
namespace Ado {

using Status = std::uint32_t;

// Status codes (HRESULT values).
enum : Status {
    S_Ok = 0,
    E_Pointer = 0x80004003, // missing component instance
    E_Fail = 0x80004005,    // unspecified failure
    E_NotImpl = 0x80004001,
    E_InvalidArg = 0x80070057,
    DB_E_ErrorsInCommand = 0x80040E14, // syntax or access error in the statement
    DB_E_NoTable = 0x80040E37,
    DB_E_AbortLimitReached = 0x80040E31, // time-out
    DB_E_Canceled = 0x80040E4E,
    DB_E_CantScrollBackwards = 0x80040E24,
    DB_E_NotSupported = 0x80040E53,
    DB_E_IntegrityViolation = 0x80040E2F,
    DB_E_DataOverflow = 0x80040E57,
    DB_Sec_E_AuthFailed = 0x80040E4D, // log-in failed
    AdErrBoundToCommand = 0x800A0E7A, // provider not found
    AdErrObjectClosed = 0x800A0E78,
    AdErrObjectOpen = 0x800A0E79,
    AdErrNoCurrentRecord = 0x800A0BCD, // EOF or BOF
    AdErrItemNotFound = 0x800A0CC1,    // no field or property of that name
    AdErrFeatureNotAvailable = 0x800A0CB3,
    AdErrOperationNotAllowed = 0x800A0E7D, // e.g. an operation while executing
};

// DataTypeEnum.
enum DataType : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adIDispatch = 9,
    adError = 10,
    adBoolean = 11,
    adVariant = 12,
    adIUnknown = 13,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adUnsignedBigInt = 21,
    adFileTime = 64,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adUserDefined = 132,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adChapter = 136,
    adPropVariant = 138,
    adVarNumeric = 139,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

// FieldAttributeEnum (bits).
enum FieldAttribute : int {
    adFldUpdatable = 0x4,
    adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80,
    adFldRowID = 0x100,
    adFldKeyColumn = 0x8000,
};

// ObjectStateEnum (bits).
enum ObjectState : int {
    adStateClosed = 0,
    adStateOpen = 1,
    adStateConnecting = 2,
    adStateExecuting = 4,
    adStateFetching = 8,
};

enum CursorType : int {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3,
};

enum LockType : int { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3 };

enum CursorLocation : int { adUseServer = 2, adUseClient = 3 };

// CommandTypeEnum and ExecuteOptionEnum bits, as passed in the options of Open and Execute.
enum Option : int {
    adOptionUnspecified = -1,
    adCmdText = 1,
    adCmdTable = 2,
    adCmdStoredProc = 4,
    adCmdUnknown = 8,
    adAsyncExecute = 16,
    adAsyncFetch = 32,
    adExecuteNoRecords = 128,
};

enum ParameterDirection : int {
    adParamUnknown = 0,
    adParamInput = 1,
    adParamOutput = 2,
    adParamInputOutput = 3,
    adParamReturnValue = 4,
};

// EventStatusEnum.
enum EventStatus : int {
    adStatusOK = 1,
    adStatusErrorsOccurred = 2,
    adStatusCantDeny = 3,
    adStatusCancel = 4,
    adStatusUnwantedEvent = 5,
};

// SchemaEnum: the schema numbers OpenSchema understands (a provider supports a subset).
enum Schema : int {
    adSchemaProviderSpecific = -1,
    adSchemaAsserts = 0,
    adSchemaCatalogs = 1,
    adSchemaCharacterSets = 2,
    adSchemaCollations = 3,
    adSchemaColumns = 4,
    adSchemaCheckConstraints = 5,
    adSchemaConstraintColumnUsage = 6,
    adSchemaConstraintTableUsage = 7,
    adSchemaKeyColumnUsage = 8,
    adSchemaReferentialConstraints = 9,
    adSchemaTableConstraints = 10,
    adSchemaColumnsDomainUsage = 11,
    adSchemaIndexes = 12,
    adSchemaColumnPrivileges = 13,
    adSchemaTablePrivileges = 14,
    adSchemaUsagePrivileges = 15,
    adSchemaProcedures = 16,
    adSchemaSchemata = 17,
    adSchemaSQLLanguages = 18,
    adSchemaStatistics = 19,
    adSchemaTables = 20,
    adSchemaTranslations = 21,
    adSchemaProviderTypes = 22,
    adSchemaViews = 23,
    adSchemaViewColumnUsage = 24,
    adSchemaViewTableUsage = 25,
    adSchemaProcedureParameters = 26,
    adSchemaForeignKeys = 27,
    adSchemaPrimaryKeys = 28,
    adSchemaProcedureColumns = 29,
    adSchemaDBInfoKeywords = 30,
    adSchemaDBInfoLiterals = 31,
    adSchemaFunctions = 40,
};

// Cache size a record set is opened with.
constexpr int DefaultCacheSize = 1024;

} // namespace Ado
