#include "platform/richtext/richtextbox.h"

#include "platform/richtext/crlfpositions.h"
#include "platform/richtext/rtf.h"
#include "platform/text/textfile.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cstdio>

// Marks a stretch of code whose document changes leave the characters as they are, so the
// cached text stays valid and no change is reported.
class FormatOnlyScope
{
public:
    explicit FormatOnlyScope(RichTextBox &box) : m_box(box) { ++m_box.m_formatOnly; }
    ~FormatOnlyScope() { --m_box.m_formatOnly; }
    FormatOnlyScope(const FormatOnlyScope &) = delete;
    FormatOnlyScope &operator=(const FormatOnlyScope &) = delete;

private:
    RichTextBox &m_box;
};

// The editor inside the box. It keeps the document free of soft line breaks (U+2028), which
// would count as one character where the program counts a line break as two, and reports
// clicks to the box.
class BoxEdit : public QTextEdit
{
public:
    explicit BoxEdit(RichTextBox &box) : QTextEdit(&box), m_box(box) { setAcceptRichText(false); }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (e->matches(QKeySequence::InsertLineSeparator)) {
            QKeyEvent plain(e->type(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QTextEdit::keyPressEvent(&plain);
            e->setAccepted(plain.isAccepted());
            return;
        }
        QTextEdit::keyPressEvent(e);
    }

    void insertFromMimeData(const QMimeData *source) override
    {
        if (source == nullptr || !source->hasText() || isReadOnly())
            return;
        QString text = source->text();
        text.replace(QChar::LineSeparator, u'\n');
        insertPlainText(text);
    }

    void changeEvent(QEvent *e) override
    {
        // A new font becomes the document's default font: no character changes.
        FormatOnlyScope scope(m_box);
        QTextEdit::changeEvent(e);
    }

    void mousePressEvent(QMouseEvent *e) override
    {
        m_pressPos = e->position().toPoint();
        QTextEdit::mousePressEvent(e);
    }

    void mouseReleaseEvent(QMouseEvent *e) override
    {
        QTextEdit::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton &&
            (e->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            Q_EMIT m_box.clicked();
    }

    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        QTextEdit::mouseDoubleClickEvent(e);
        const int position = cursorForPosition(e->position().toPoint()).position();
        Q_EMIT m_box.doubleClicked(CrLfPositions(*document()).toCrLf(position));
    }

private:
    RichTextBox &m_box;
    QPoint m_pressPos;
};

namespace {

// Qt's paragraph separators as CR LF.
QString withCrLf(const QString &raw)
{
    const qsizetype breaks = raw.count(QChar::ParagraphSeparator);
    if (breaks == 0)
        return raw;
    QString out(raw.size() + breaks, Qt::Uninitialized);
    QChar *dst = out.data();
    for (const QChar ch : raw) {
        if (ch == QChar::ParagraphSeparator) {
            *dst++ = u'\r';
            *dst++ = u'\n';
        } else {
            *dst++ = ch;
        }
    }
    return out;
}

// Every line end, U+2028 included, as a paragraph break for QTextCursor::insertText.
QString forInsertion(QString text)
{
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

// The format of the first selected character, or the typing format without a selection.
QTextCharFormat selectionFormat(const QTextCursor &cursor)
{
    if (!cursor.hasSelection())
        return cursor.charFormat();
    QTextCursor first(cursor.document());
    first.setPosition(cursor.selectionStart() + 1);
    return first.charFormat();
}

bool isWordChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == u'_';
}

// RTF held in a QString: characters up to U+00FF stand for bytes; anything above becomes an
// \uN escape so that no character is lost.
QByteArray rtfBytes(const QString &rtf)
{
    QByteArray out;
    out.reserve(rtf.size());
    for (const QChar ch : rtf) {
        const char16_t u = ch.unicode();
        if (u < 0x100) {
            out += char(u);
        } else {
            char buf[16];
            const int n = std::snprintf(buf, sizeof buf, "\\u%d?", u > 32767 ? int(u) - 65536 : int(u));
            out.append(buf, n);
        }
    }
    return out;
}

// The text of a file without the line end that closes its last line: saving writes one
// back, so opening and saving again keeps the file's bytes.
QString withoutLastLineEnd(QString text)
{
    if (text.endsWith(u'\n'))
        text.chop(text.endsWith(QStringLiteral("\r\n")) ? 2 : 1);
    else if (text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

} // namespace

void RichTextBox::setFieldName(const QString &name)
{
    setAccessibleName(name);
    m_edit->setAccessibleName(name);
}

RichTextBox::RichTextBox(QWidget *parent) : QWidget(parent), m_edit(new BoxEdit(*this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
    connect(m_edit->document(), &QTextDocument::contentsChanged, this, &RichTextBox::onContentsChanged);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &RichTextBox::onCursorMoved);
    connect(m_edit, &QTextEdit::selectionChanged, this, &RichTextBox::onCursorMoved);
}

RichTextBox::~RichTextBox() = default;

const QString &RichTextBox::cachedText() const
{
    if (!m_textValid) {
        m_text = withCrLf(m_edit->document()->toRawText());
        m_textValid = true;
    }
    return m_text;
}

void RichTextBox::onContentsChanged()
{
    if (m_formatOnly > 0)
        return;
    m_textValid = false;
    Q_EMIT changed();
}

void RichTextBox::onCursorMoved()
{
    const QTextCursor c = m_edit->textCursor();
    if (c.anchor() == m_lastAnchor && c.position() == m_lastPosition)
        return;
    m_lastAnchor = c.anchor();
    m_lastPosition = c.position();
    Q_EMIT selectionChanged();
}

void RichTextBox::replaceContent(const std::function<void(QTextDocument &)> &fill)
{
    // The new content goes into a fresh document that no layout watches, which then
    // replaces the editor's: the editor lays a new book out lazily, page by page, while
    // filling its own document would lay out the whole book at once. There is no undo of a
    // load either: a 2 MB book would be kept twice.
    QTextDocument *old = m_edit->document();
    auto *doc = new QTextDocument(m_edit);
    doc->setDefaultFont(old->defaultFont());
    doc->setDefaultTextOption(old->defaultTextOption());
    doc->setDocumentMargin(old->documentMargin());
    doc->setUndoRedoEnabled(false);
    fill(*doc);
    doc->setUndoRedoEnabled(old->isUndoRedoEnabled());

    old->disconnect(this);
    // The editor deletes the document it made itself; the ones made here are ours.
    const bool ownOld = old->parent() == m_edit;
    m_edit->setDocument(doc);
    if (ownOld)
        delete old;
    connect(doc, &QTextDocument::contentsChanged, this, &RichTextBox::onContentsChanged);
    m_edit->setTextCursor(QTextCursor(doc));
    m_textValid = false;
    Q_EMIT changed();
}

QString RichTextBox::Text() const
{
    return cachedText();
}

void RichTextBox::setText(const QString &text)
{
    // setPlainText inserts the whole text at once; CR LF, lone CR and lone LF all become
    // paragraph breaks.
    replaceContent([&](QTextDocument &doc) { doc.setPlainText(forInsertion(text)); });
}

QString RichTextBox::TextRTF() const
{
    const QTextDocument &doc = *m_edit->document();
    return QString::fromLatin1(rtf::write(rtf::runsOf(doc), doc.defaultFont()));
}

void RichTextBox::setTextRTF(const QString &source)
{
    const QByteArray bytes = rtfBytes(source);
    if (rtf::isRtf(bytes))
        setRtfBytes(bytes);
    else
        setText(source);
}

void RichTextBox::setRtfBytes(const QByteArray &bytes)
{
    const QList<rtf::Run> runs = rtf::parse(bytes);
    replaceContent([&](QTextDocument &doc) {
        QTextCursor cursor(&doc);
        rtf::insertRuns(cursor, runs);
    });
}

int RichTextBox::SelStart() const
{
    return CrLfPositions(*m_edit->document()).toCrLf(currentCursor().selectionStart());
}

void RichTextBox::setSelStart(int position)
{
    QTextCursor c = currentCursor();
    c.setPosition(CrLfPositions(*m_edit->document()).toQt(position));
    placeCursor(c);
}

int RichTextBox::SelLength() const
{
    const CrLfPositions map(*m_edit->document());
    const QTextCursor c = currentCursor();
    return map.toCrLf(c.selectionEnd()) - map.toCrLf(c.selectionStart());
}

void RichTextBox::setSelLength(int length)
{
    const CrLfPositions map(*m_edit->document());
    QTextCursor c = currentCursor();
    const int start = c.selectionStart();
    const int end = map.toQt(map.toCrLf(start) + qMax(0, length));
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    placeCursor(c);
}

QString RichTextBox::SelText() const
{
    return cachedText().mid(SelStart(), SelLength());
}

void RichTextBox::setSelText(const QString &text)
{
    QTextCursor c = currentCursor();
    const QTextCharFormat format = selectionFormat(c);
    c.insertText(forInsertion(text), format);
    placeCursor(c);
    // Inside beginEdits() the document reports the change only at the end.
    m_textValid = false;
}

void RichTextBox::beginEdits()
{
    // The editor's own cursor would scroll to every change, laying the text out there; a
    // cursor of the box's own stands in for it until the end.
    if (m_batchDepth++ == 0)
        m_batchCursor = m_edit->textCursor();
    QTextCursor(m_edit->document()).beginEditBlock();
}

void RichTextBox::endEdits()
{
    if (m_batchDepth == 0)
        return;
    QTextCursor(m_edit->document()).endEditBlock();
    if (--m_batchDepth == 0) {
        m_edit->setTextCursor(m_batchCursor);
        m_batchCursor = QTextCursor();
    }
}

QTextCursor RichTextBox::currentCursor() const
{
    return m_batchDepth > 0 ? m_batchCursor : m_edit->textCursor();
}

void RichTextBox::placeCursor(const QTextCursor &c)
{
    if (m_batchDepth > 0)
        m_batchCursor = c;
    else
        m_edit->setTextCursor(c);
}

void RichTextBox::mergeFormat(const QTextCharFormat &format)
{
    if (m_batchDepth > 0)
        m_batchCursor.mergeCharFormat(format);
    else
        m_edit->mergeCurrentCharFormat(format);
}

QColor RichTextBox::SelColor() const
{
    const QTextCharFormat f = selectionFormat(currentCursor());
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        return f.foreground().color();
    return m_edit->palette().color(QPalette::Text);
}

void RichTextBox::setSelColor(const QColor &color)
{
    FormatOnlyScope scope(*this);
    QTextCharFormat f;
    f.setForeground(color);
    mergeFormat(f);
}

bool RichTextBox::SelBold() const
{
    return selectionFormat(currentCursor()).fontWeight() >= QFont::Bold;
}

void RichTextBox::setSelBold(bool bold)
{
    FormatOnlyScope scope(*this);
    QTextCharFormat f;
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

void RichTextBox::setMarks(const QList<std::pair<int, int>> &ranges, const QColor &color, bool bold)
{
    FormatOnlyScope scope(*this);
    const CrLfPositions map(*m_edit->document());
    QTextCursor c(m_edit->document());
    c.beginEditBlock();
    QTextCharFormat plain;
    plain.setForeground(QColor(Qt::black));
    plain.setFontWeight(QFont::Normal);
    c.select(QTextCursor::Document);
    c.mergeCharFormat(plain);
    QTextCharFormat f;
    f.setForeground(color);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    for (const auto &[start, length] : ranges) {
        c.setPosition(map.toQt(start));
        c.setPosition(map.toQt(start + qMax(0, length)), QTextCursor::KeepAnchor);
        c.mergeCharFormat(f);
    }
    c.endEditBlock();
}

void RichTextBox::setReadingMark(int start, int length)
{
    QList<QTextEdit::ExtraSelection> marks;
    m_readingMark = {start, qMax(0, length)};
    if (length > 0) {
        const CrLfPositions map(*m_edit->document());
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_edit->document());
        mark.cursor.setPosition(map.toQt(start));
        const QRect shown = m_edit->cursorRect(mark.cursor);
        mark.cursor.setPosition(map.toQt(start + length), QTextCursor::KeepAnchor);
        mark.format.setBackground(m_edit->palette().color(QPalette::Highlight));
        mark.format.setForeground(m_edit->palette().color(QPalette::HighlightedText));
        marks.append(mark);
        if (!m_edit->viewport()->rect().contains(shown)) {
            QScrollBar *bar = m_edit->verticalScrollBar();
            bar->setValue(bar->value() + shown.top() - m_edit->viewport()->height() / 4);
        }
    }
    m_edit->setExtraSelections(marks);
    Q_EMIT readingMarkChanged();
}

int RichTextBox::Find(const QString &text, int start, int end, FindOptions options) const
{
    const QString &t = cachedText();
    const qsizetype limit = end < 0 || end > t.size() ? t.size() : end;
    if (text.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = options.testFlag(MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype pos = t.indexOf(text, qMax(start, 0), cs); pos >= 0 && pos + text.size() <= limit;
         pos = t.indexOf(text, pos + 1, cs)) {
        if (options.testFlag(WholeWord)) {
            const qsizetype after = pos + text.size();
            if ((pos > 0 && isWordChar(t[pos - 1])) || (after < t.size() && isWordChar(t[after])))
                continue;
        }
        return static_cast<int>(pos);
    }
    return -1;
}

bool RichTextBox::LoadFile(const QString &path, FileType type)
{
    m_error.clear();
    const auto bytes = textfile::readBytes(path, &m_error);
    if (!bytes)
        return false;
    if (type == FileType::Rtf && rtf::isRtf(*bytes)) {
        forgetFile();
        setRtfBytes(*bytes);
    } else {
        textcodec::Choice choice;
        QString text = textcodec::decodeAsFound(*bytes, &choice);
        // The box keeps its book, and what it knows of it.
        if (!choice.refused.isEmpty()) {
            m_error = textcodec::unreadable(choice);
            return false;
        }
        m_encoding = choice.encoding;
        // A mixed text reads as Windows-1251, which loses no byte: nothing is damaged.
        m_doubt = textcodec::doubt(choice);
        m_joined = textcodec::joinedText(choice);
        m_damaged = choice.mixed ? 0 : choice.damaged;
        setText(withoutLastLineEnd(std::move(text)));
        m_asRead = keepsBytes() ? Text() : QString();
        m_bytesAsRead = keepsBytes() ? *bytes : QByteArray();
    }
    Q_EMIT fileLoaded();
    return true;
}

qint64 RichTextBox::fileCharacters(const QString &path)
{
    QFile file(path);
    // Only an RTF file is read whole; a pipe or a folder is no book at all.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return 0;
    if (!rtf::isRtf(file.peek(5)))
        return textfile::bookCharacters(path);
    qint64 characters = 0;
    for (const rtf::Run &run : rtf::parse(file.readAll()))
        characters += run.text.size() + run.text.count(u'\n');
    return characters;
}

estimate::Figures RichTextBox::measure(const QString &path, int charsPerMin)
{
    // The saved file is measured: its size, and its characters counted without keeping them.
    const QFileInfo file(path);
    const qint64 bytes = !path.isEmpty() && file.isFile() ? file.size() : 0;
    return estimate::figures(bytes, bytes > 0 && charsPerMin > 0 ? fileCharacters(path) : 0, charsPerMin);
}

bool RichTextBox::SaveFile(const QString &path, FileType type) const
{
    m_error.clear();
    const QTextDocument &doc = *m_edit->document();
    // A text that may read wrong, or a joined one, as it was read gets its file's bytes back,
    // lone line ends and all: the editor keeps neither.
    const bool asRead = type == FileType::Text && keepsBytes() && !changedSinceRead();
    const QByteArray bytes = type == FileType::Rtf ? rtf::write(rtf::runsOf(doc), doc.defaultFont())
                             : asRead              ? m_bytesAsRead
                                      : textcodec::encode(Text() + QStringLiteral("\r\n"), encoding());
    if (!textfile::writeBytes(path, bytes, &m_error))
        return false;
    m_damaged = 0;
    if (type != FileType::Text || asRead)
        return true;
    // A joined book saved changed is a UTF-8 book now, which reads right.
    if (encoding() == textcodec::Encoding::Joined) {
        m_encoding = textcodec::Encoding::Utf8WithBom;
        m_doubt.clear();
        m_joined.clear();
    }
    m_asRead = keepsBytes() ? Text() : QString();
    m_bytesAsRead = keepsBytes() ? bytes : QByteArray();
    return true;
}

textcodec::Encoding RichTextBox::encoding() const
{
    if (m_encoding)
        return *m_encoding;
    return textcodec::unencodable(Text(), textcodec::Encoding::Windows1251) == 0
               ? textcodec::Encoding::Windows1251
               : textcodec::Encoding::Utf8;
}

void RichTextBox::forgetFile()
{
    m_encoding.reset();
    m_damaged = 0;
    m_doubt.clear();
    m_joined.clear();
    m_asRead.clear();
    m_bytesAsRead.clear();
}

bool RichTextBox::Locked() const
{
    return m_edit->isReadOnly();
}

void RichTextBox::setLocked(bool locked)
{
    m_edit->setReadOnly(locked);
    // Read-only still lets the user move through the text and select with the keyboard.
    if (locked)
        m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QColor RichTextBox::fromRgbValue(qint64 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QWidget *RichTextBox::viewport() const
{
    return m_edit->viewport();
}
