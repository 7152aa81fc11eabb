#pragma once

#include "platform/text/estimate.h"
#include "platform/text/textcodec.h"

#include <QColor>
#include <QString>
#include <QTextCursor>
#include <QWidget>

#include <functional>
#include <optional>

class BoxEdit;
class QTextDocument;

// The rich text box every window uses. Positions in and out count a line break as the two
// characters CR LF, as every stored caret offset, bookmark and search position does; the
// box maps them to the editor's own positions (one character per break).
//
// Text with lone CR or lone LF line ends is shown with each of them as a line break, and
// Text() gives every break as CR LF.
class RichTextBox : public QWidget
{
    Q_OBJECT

public:
    // Rtf reads a file as RTF when it starts with "{\rtf" and as plain text otherwise; Text
    // always reads it as plain text (an RTF file shows its source).
    enum class FileType
    {
        Rtf,
        Text
    };

    enum FindOption
    {
        MatchCase = 1,
        WholeWord = 2
    };
    Q_DECLARE_FLAGS(FindOptions, FindOption)

    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    // The name a screen reader gives the text field.
    void setFieldName(const QString &name);

    // The plain text with CR LF line breaks. Setting it replaces the whole content and drops
    // all character formatting; the caret goes to 0.
    QString Text() const;
    void setText(const QString &text);

    // The content as RTF (Windows-1251). Setting it replaces the content, formatting kept;
    // a text that is not RTF is taken as plain text.
    QString TextRTF() const;
    void setTextRTF(const QString &rtf);

    // The caret offset, or the start of the selection. Setting it empties the selection.
    int SelStart() const;
    void setSelStart(int position);
    // Setting it selects from SelStart on.
    int SelLength() const;
    void setSelLength(int length);
    // Setting it replaces the selection (or inserts at the caret); the new text takes the
    // format of the replaced selection (or the typing format) and the caret ends after it.
    QString SelText() const;
    void setSelText(const QString &text);
    // Colour and bold of the selection; with an empty selection, of the text typed at the
    // caret. Changing them never changes the characters.
    QColor SelColor() const;
    void setSelColor(const QColor &color);
    bool SelBold() const;
    void setSelBold(bool bold);
    // Makes the whole text black and not bold, then gives every (start, length) stretch the
    // colour and bold, in one edit block that leaves the selection and the characters alone:
    // a long list of marks costs one layout pass and one undo step.
    void setMarks(const QList<std::pair<int, int>> &ranges, const QColor &color, bool bold);
    // The stretch being read aloud, shown as a highlight that is neither the selection nor the
    // text's format, and scrolled into sight without moving the caret: assistive technology
    // announces no selection and no caret move. A length of 0 takes it away.
    void setReadingMark(int start, int length);
    std::pair<int, int> readingMark() const { return m_readingMark; }

    // The position of the first occurrence of `text` that lies within [start, end) (end -1:
    // to the end of the text), or -1. The selection is not touched.
    int Find(const QString &text, int start = 0, int end = -1, FindOptions options = {}) const;

    // Replaces the content with the file. A file that cannot be read returns false and
    // leaves the box unchanged, and so does a book in an encoding the program does not read
    // (errorString says so). Plain text is decoded in the encoding its bytes show; the line
    // end that closes its last line is not part of the text (SaveFile writes it back).
    bool LoadFile(const QString &path, FileType type = FileType::Rtf);
    // Rtf writes TextRTF(); Text writes Text() followed by one CR LF, as every text file of
    // the program is written, in encoding(); a text whose reading may be wrong, or a joined
    // one, while unchanged, gets the very bytes it was read from. False when the file could
    // not be written.
    bool SaveFile(const QString &path, FileType type = FileType::Rtf) const;
    // The encoding of the text file last loaded; a new text (none loaded since the last
    // forgetFile or RTF file) is Windows-1251, or UTF-8 when Windows-1251 cannot hold it.
    textcodec::Encoding encoding() const;
    // The text stands for no file any more: what is known of the last one is dropped.
    void forgetFile();
    // The damaged bytes of the UTF-8 text file last loaded, shown as U+FFFD; 0 when there were
    // none, and again once the text is saved.
    qint64 damagedBytes() const { return m_damaged; }
    // What the user is told about the text file last loaded when its reading may be wrong
    // (textcodec::doubt); empty when it reads right.
    QString readingDoubt() const { return m_doubt; }
    // What the user is told about the text file last loaded when it is joined from parts in
    // different encodings (textcodec::joinedText); empty for any other.
    QString joinedParts() const { return m_joined; }
    // For such a text, or a joined one: whether it is no longer the text loaded or last saved,
    // so that a save would change the file's bytes (a joined book's to UTF-8).
    bool changedSinceRead() const { return keepsBytes() && Text() != m_asRead; }
    // Whether a save of the text unchanged writes the very bytes it was read from: its reading
    // may be wrong, or it is joined from parts. Nothing should rewrite such a text unasked.
    bool keepsBytes() const { return !m_doubt.isEmpty() || encoding() == textcodec::Encoding::Joined; }
    // The characters LoadFile puts into the box for the file, line breaks counted as CR LF,
    // measured without a box: the text of an RTF file, the decoded characters of plain text.
    // 0 when the file cannot be read.
    static qint64 fileCharacters(const QString &path);
    // A book file's size and playing time at `charsPerMin` (its fileCharacters), in the
    // user's locale.
    static estimate::Figures measure(const QString &path, int charsPerMin);
    // Why the last LoadFile or SaveFile failed ("Permission denied").
    QString errorString() const { return m_error; }

    // Changes made between beginEdits() and endEdits() are laid out and reported (changed())
    // once, at the end, instead of after each one: a long series of replacements in a book
    // would otherwise lay the text out again for every one. Text() stays current meanwhile.
    // Pairs nest. Let no events through in between: the view is not laid out yet.
    void beginEdits();
    void endEdits();

    // Read-only for the user; the functions above still change the text.
    bool Locked() const;
    void setLocked(bool locked);

    // A colour stored as red + 256 * green + 65536 * blue.
    static QColor fromRgbValue(qint64 value);

    // The widget that shows the text and receives the mouse.
    QWidget *viewport() const;

Q_SIGNALS:
    // The characters changed (not emitted for colour or bold changes).
    void changed();
    // LoadFile replaced the content with a file.
    void fileLoaded();
    // The caret moved or the selection changed.
    void selectionChanged();
    void readingMarkChanged();
    // A left click that did not drag a selection; the caret is already at the click.
    void clicked();
    // A double click at `position`.
    void doubleClicked(int position);

private:
    const QString &cachedText() const;
    // The editor's cursor, or the stand-in while edits are batched.
    QTextCursor currentCursor() const;
    void placeCursor(const QTextCursor &c);
    void mergeFormat(const QTextCharFormat &format);
    void replaceContent(const std::function<void(QTextDocument &)> &fill);
    void setRtfBytes(const QByteArray &bytes);
    void onContentsChanged();
    void onCursorMoved();

    BoxEdit *m_edit;
    // Text() is read far more often than the text changes (every search of a long book);
    // it is rebuilt only after the characters change.
    mutable QString m_text;
    mutable bool m_textValid = false;
    mutable QString m_error;
    // A save writes the replacement marks as text: the file saved has no damage to tell of.
    mutable qint64 m_damaged = 0;
    // A save of a changed joined book makes it a UTF-8 one.
    mutable std::optional<textcodec::Encoding> m_encoding;
    mutable QString m_doubt;
    mutable QString m_joined;
    mutable QString m_asRead; // the text of a doubtful reading as its file holds it
    mutable QByteArray m_bytesAsRead;
    // While above zero, document changes are known to leave the characters alone.
    int m_formatOnly = 0;
    int m_batchDepth = 0;
    QTextCursor m_batchCursor;
    int m_lastAnchor = 0;
    int m_lastPosition = 0;
    std::pair<int, int> m_readingMark;

    friend class BoxEdit;
    friend class FormatOnlyScope;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RichTextBox::FindOptions)
