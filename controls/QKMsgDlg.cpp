#include "controls/QKMsgDlg.h"

int TQKMsgDlg::Execute() const { return MessageDlg(MsgText, MsgType, MsgButtons, MsgHelpContext); }
