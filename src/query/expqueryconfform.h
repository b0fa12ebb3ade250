#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

// The options of a query data or CSV export: the target file, sorted fields,
// table format, the older file layout and the text encoding, with a
// byte-order mark for UTF-8 (spreadsheet programs need it to read UTF-8).
class TExpQueryConfForm : public QDialog {
    Q_OBJECT
  public:
    explicit TExpQueryConfForm(QWidget* parent = nullptr);

    QString FileName() const;
    void SetFileName(const QString& name);
    // The save dialog's filter, e.g. "eif|*.eif|all|*.*", and its extension.
    void SetFilter(const QString& filter, const QString& defaultExtension);
    bool SortFields() const;
    void SetSortFields(bool on, bool enabled);
    bool TableFormat() const;
    void SetTableFormatEnabled(bool enabled);
    bool ReleaseVersion17() const;
    bool Utf8() const;
    bool ByteOrderMark() const;
    void SetByteOrderMarkVisible(bool visible);

  private:
    void Browse();
    void UpdateEncoding();
    QComboBox* FFileName = nullptr;
    QCheckBox* FSort = nullptr;
    QCheckBox* FTableFormat = nullptr;
    QCheckBox* FRelease17 = nullptr;
    QLabel* FEncodingLabel = nullptr;
    QComboBox* FEncoding = nullptr;
    QCheckBox* FByteOrderMark = nullptr;
    QString FFilter;
    QString FExtension;
};
