#pragma once

class RichTextBox;

// What a book loses between its file and the editor, told the same way by every command that
// loads a book into the main text or writes the main text to a text file.
namespace booklosses {

// After a book is loaded: says how many damaged UTF-8 bytes show as U+FFFD, if any, or that
// the book reads right in no encoding.
void tellDamaged(const RichTextBox &editor);

// Before the editor's text is written to a text file that cannot hold every character of it,
// or that would get the replacement marks of damaged bytes in place of the bytes the book
// had, or whose bytes would change though it reads right in no encoding: true when there is
// no loss or the user agrees to it.
bool lossAccepted(const RichTextBox &editor);

} // namespace booklosses
