#include "platform/FileList.h"

#include "platform/NameOrder.h"

#include <QDir>
#include <QStyle>

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this] { emit DblClick(); });
}

void FileList::setPattern(const QString& pattern) {
    m_patterns.clear();
    for (const QString& p : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        m_patterns.append(
            QRegularExpression(QRegularExpression::wildcardToRegularExpression(p.trimmed()),
                               QRegularExpression::CaseInsensitiveOption));
    Refresh();
}

void FileList::setShowHidden(bool show) {
    if (m_showHidden == show)
        return;
    m_showHidden = show;
    Refresh();
}

void FileList::setPath(const QString& path) {
    m_path = path;
    Refresh();
}

bool FileList::matches(const QString& name) const {
    for (const QRegularExpression& re : m_patterns)
        if (re.match(name).hasMatch())
            return true;
    return m_patterns.isEmpty();
}

void FileList::Refresh() {
    clear();
    if (m_path.isEmpty())
        return;
    QDir::Filters filters = QDir::Files | QDir::System;
    if (m_showHidden)
        filters |= QDir::Hidden;
    QStringList names;
    for (const QString& name : QDir(m_path).entryList(filters, QDir::Unsorted))
        if (matches(name))
            names.append(name);
    SortNames(names);
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const QString& name : names)
        addItem(new QListWidgetItem(icon, name));
}

QString FileList::FileName() const {
    const QListWidgetItem* it = currentItem();
    return it ? it->text() : QString();
}
