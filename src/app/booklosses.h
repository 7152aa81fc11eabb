#pragma once

class RichTextBox;

// What a book loses between its file and the editor, told the same way by every command that
// loads a book into the main text or writes the main text to a text file.
namespace booklosses {

// After a book is loaded: says that it is joined from parts in different encodings, or that
// its reading may be wrong, and how many damaged UTF-8 bytes show as U+FFFD, if any.
void tellDamaged(const RichTextBox &editor);

// Before the editor's text is written to a text file that cannot hold every character of it,
// or that would get the replacement marks of damaged bytes in place of the bytes the book
// had, or whose bytes would change though its reading may be wrong or it is joined from parts
// (then written in UTF-8): true when there is no loss or the user agrees to it.
bool lossAccepted(const RichTextBox &editor);

} // namespace booklosses
