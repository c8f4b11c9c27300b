#pragma once
// The program's help: a help file of topics shown in the help window, a text
// browser with the list of topics (the contents) beside it. The application's
// help calls (HelpJump, HelpCommand, HelpContext) reach it through the
// user-interface port.
//
// A help file is HTML text in UTF-8. Each topic starts with a heading
// <h2 id="Name">Title</h2> and runs to the next one; a link <a href="#Name">
// opens another topic, a link with a scheme (http:, mailto:) goes to the
// desktop. The first topic is the one shown when no topic is asked for.

#include <memory>
#include <string>
#include <vector>

#include "platform/AnsiString.h"

class QWidget;

struct THelpTopic {
    AnsiString Name;  // the id that HelpJump names
    AnsiString Title; // the heading, shown in the contents
    std::string Html; // the topic's text after its heading (UTF-8)
};

// The topics of a help file's text, in file order; none when it holds no
// topic heading. Names repeated later are dropped; comments are no text.
std::vector<THelpTopic> ParseHelpTopics(const std::string& utf8);

// Where a help file is looked for: a name without a folder lies beside the
// executable.
AnsiString HelpFilePath(const AnsiString& helpFile);

// The help window. There is at most one; asking for help again brings it up
// at the new topic.
class THelpWindow {
public:
    ~THelpWindow();

    // Reads the help file (a name without a folder: beside the executable)
    // and shows the topic (the first one when the name is empty). A missing
    // or unreadable file and an unknown topic are reported with their names;
    // false then (an unknown topic still shows the first one).
    static bool Show(const AnsiString& helpFile, const AnsiString& topic);
    // The open help window, or null.
    static THelpWindow* Instance();
    // Closes the open help window (nothing without one).
    static void CloseWindow();

    const AnsiString& FileName() const { return fileName_; }
    const std::vector<THelpTopic>& Topics() const { return topics_; }
    // The topic shown now.
    AnsiString CurrentTopic() const;
    // Shows a topic by name; false (and nothing changes) when there is none.
    bool OpenTopic(const AnsiString& name);
    // What a click on a link in the text does ("#Name" opens a topic).
    void FollowLink(const AnsiString& href);
    // The titles in the contents list, in order.
    std::vector<AnsiString> Contents() const;
    // The text the browser shows now, as plain text.
    AnsiString PlainText() const;
    QWidget* Widget() const;

private:
    THelpWindow(const AnsiString& fileName, std::vector<THelpTopic> topics);
    struct Impl;
    std::unique_ptr<Impl> impl_;
    AnsiString fileName_;
    std::vector<THelpTopic> topics_;
    int current_ = -1;
};
