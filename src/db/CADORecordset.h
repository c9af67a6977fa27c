#pragma once

#include "db/FieldText.h"
#include "db/ado/AdoRecordset.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CADODatabase;
class CADOCommand;

namespace Ado {
class Connection;
}

// One record set opened on a session, with its own last error and the texts that NULL,
// variant and binary values become. No operation throws; failures store a query error text
// and hand it to the error reporter. Opened on the UI thread; after an asynchronous open has
// completed, one thread (the fetch worker) may read it; Cancel() is safe from any thread.
class CADORecordset
{
public:
    // What a field is, as the result model keeps it.
    struct FieldInfo
    {
        QString name;
        int type = 0;
        qint64 definedSize = 0;
        int attributes = 0;
        qint64 actualSize = 0; // 0 at EOF
    };

    explicit CADORecordset(const CADODatabase *session);
    explicit CADORecordset(std::shared_ptr<Ado::Connection> connection);
    ~CADORecordset();

    CADORecordset(const CADORecordset &) = delete;
    CADORecordset &operator=(const CADORecordset &) = delete;

    // An empty source reopens the previous statement. options adAsyncExecute returns at once;
    // completion comes as the connection's ExecuteComplete.
    bool Open(const QString &source = {}, int cursorType = Ado::adOpenForwardOnly,
              int cursorLocation = Ado::adUseServer, int lockType = Ado::adLockReadOnly,
              int options = Ado::adCmdText);
    bool ExecuteCommand(CADOCommand &command, int cursorLocation, int options);
    // Moves to the next result; recordsAffected receives its count. False when none or on
    // an error (then the error code is set).
    bool NextRecordset(long *recordsAffected = nullptr);
    void Close();
    bool IsOpen() const;
    bool IsEOF() const;
    bool MoveFirst();
    bool MoveNext();
    void CancelUpdate() { m_editing = false; }
    // Stops a running asynchronous open.
    bool Cancel();
    // The count; when the cursor does not know it, counts by walking and moves first again.
    long RecordCount();
    long RecordsAffected() const;

    int GetFieldCount() const;
    FieldInfo GetFieldInfo(int index) const;
    int GetFieldIndex(const QString &name) const;

    // Field text by the field's data type (result data).
    bool GetFieldText(int index, QString &text);
    bool GetFieldText(const QString &name, QString &text);
    // Appends the field text to a buffer (the result model's row block), avoiding a copy.
    bool AppendFieldText(int index, QString &buffer);
    // Value reader of the schema catalogue (by the value's variant type); false when the
    // value has a kind that gives no text.
    bool GetValueText(const QString &name, QString &text);
    bool GetValue(const QString &name, Ado::Variant &value);
    bool GetValue(int index, Ado::Variant &value);
    bool HasField(const QString &name) const { return GetFieldIndex(name) >= 0; }
    bool IsFieldNull(const QString &name);

    bool OpenSchema(int schema);
    bool OpenSchema(int schema, const QString &fourthRestriction);
    bool OpenSchema(int schema, const QStringList &restrictions);

    void SetNullText(const QString &text) { m_markers.nullText = text; }
    void SetVariantText(const QString &text) { m_markers.variantText = text; }
    void SetBinaryText(const QString &text) { m_markers.binaryText = text; }
    // The three markers of result data.
    void SetMarkers();

    QString GetErrorText() const { return m_errorText; }
    Ado::Status GetErrorCode() const { return m_errorCode; }
    QString GetSource() const { return m_source; }
    bool IsEditing() const { return m_editing; }

    // The record set object ExecuteComplete reports (compared by identity).
    const Ado::Recordset *recordset() const { return m_recordset.get(); }
    std::shared_ptr<Ado::Connection> connection() const { return m_connection; }

    // Called with every query error text (the UI shows it in a message box with the error
    // icon). Called on the thread that met the error.
    static void setErrorReporter(std::function<void(const QString &)> reporter);

private:
    bool queryError(const Ado::ComError &error);
    bool openSchema(int schema, const QList<Ado::Variant> &restrictions);
    bool renderField(int index, QString &buffer, bool append);

    std::shared_ptr<Ado::Recordset> m_recordset;
    std::shared_ptr<Ado::Connection> m_connection;
    bool m_editing = false;
    QString m_errorText;
    Ado::Status m_errorCode = 0;
    QString m_source;
    FieldText::Markers m_markers; // NULL, Variant and Binary texts
    Ado::Variant m_cell;          // reused per read
};
