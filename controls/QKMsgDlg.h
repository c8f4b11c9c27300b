#pragma once
// TQKMsgDlg: a non-visual component holding the text, kind and buttons of one
// message box, shown on demand through the user-interface port.

#include "platform/Classes.h"
#include "platform/UiPort.h"

class TQKMsgDlg : public TComponent {
public:
    explicit TQKMsgDlg(TComponent* owner) : TComponent(owner) {}

    AnsiString MsgText;
    TMsgDlgType MsgType = mtWarning;
    TMsgDlgButtons MsgButtons = mbOKOnly;
    int MsgHelpContext = 0;

    // Shows the modal message box (also with an empty text) and returns its
    // modal result: mrOk, mrYes, mrNo ...
    int Execute() const;
};
