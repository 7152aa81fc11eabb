#include "app/globals.h"

QString CurTextPath;
QString BookTitle;
QString BlockText;
QString CurLine;
bool StopFlag = false;
std::int32_t SpeakFlags = 0;
QString TembrStart;
QString TembrNarration;
QString TembrDialog;
QString TembrComment;
QString TembrDialog2;
std::int16_t CharsPerMin = 0;
std::int32_t BlockLimit = 0;
double PlayHours = 0;
QString WinDrive;
std::int16_t BlockNo = 0;
QString BlockName;
std::int32_t CharsDone = 0;
float StartTime = 0;
bool InDialog = false;
bool InComment = false;
bool ListenLoop = false;

void resetGlobals()
{
    CurTextPath.clear();
    BookTitle.clear();
    BlockText.clear();
    CurLine.clear();
    StopFlag = false;
    SpeakFlags = 0;
    TembrStart.clear();
    TembrNarration.clear();
    TembrDialog.clear();
    TembrComment.clear();
    TembrDialog2.clear();
    CharsPerMin = 0;
    BlockLimit = 0;
    PlayHours = 0;
    WinDrive.clear();
    BlockNo = 0;
    BlockName.clear();
    CharsDone = 0;
    StartTime = 0;
    InDialog = false;
    InComment = false;
    ListenLoop = false;
}
