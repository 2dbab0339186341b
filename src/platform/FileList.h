#pragma once

#include <QListWidget>
#include <QRegularExpression>

// The file list: the names of the files of Path that match the pattern
// ("*.jpg;*.bmp", compared without regard to case), sorted by name, with a
// switch for hidden files. A double click or Enter on a name raises DblClick.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    void setPattern(const QString& pattern);
    void setShowHidden(bool show);
    bool showHidden() const { return m_showHidden; }

    QString Path() const { return m_path; }
    void setPath(const QString& path);
    void Refresh();
    int ListCount() const { return count(); }
    // The name of the current row, "" when none.
    QString FileName() const;

    // Whether a name matches the pattern.
    bool matches(const QString& name) const;

signals:
    void DblClick();

private:
    QString m_path;
    QList<QRegularExpression> m_patterns;
    bool m_showHidden = false;
};
