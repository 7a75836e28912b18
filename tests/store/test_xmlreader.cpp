#include "xmlreader.h"

#include <doctest/doctest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {
std::vector<std::string> events;

int onStartA() { events.push_back("start A"); return 1; }
int onEndA() { events.push_back("end A"); return 1; }
int onStartB() { events.push_back("start B"); return 1; }
int refuse() { events.push_back("refused"); return 0; }
int onText(const char* first, const char* last, const char*)
{
    events.push_back("text " + std::string(first, static_cast<size_t>(last - first + 1)));
    return 1;
}

int parse(const std::string& doc, const XmlElementHandler* elements, uint16_t elementCount,
          const XmlTextHandler* texts, uint16_t textCount)
{
    events.clear();
    xmlReaderRestart();
    xmlReaderSetElementHandlers(elements, elementCount);
    xmlReaderSetTextHandlers(texts, textCount);
    return xmlReaderParse(doc.data(), static_cast<uint32_t>(doc.size()));
}
}  // namespace

TEST_CASE("path matching compares tails")
{
    struct Case { const char* handler; const char* element; bool match; };
    const Case cases[] = {
        {"<FILE><HEADER>", "<FILE><HEADER>", true},
        {"<FILE><HEADER>", "<ROOT><FILE><HEADER>", true},
        {"<FILE><HEADER>", "<FILE><HEADER><VERSION>", false},
        {"<HEADER>", "<FILE><HEADER>", true},
        {"", "<FILE>", true},
        {"<FILE>", "", true},
        {"<B>", "<A><XB>", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.handler);
        CAPTURE(c.element);
        CHECK(xmlPathMatches(c.handler, c.element) == c.match);
    }
}

TEST_CASE("documents give their result codes")
{
    const XmlTextHandler textB[] = {{"<A><B>", onText}};
    const XmlTextHandler tailB[] = {{"<B>", onText}};
    struct Case { const char* doc; const XmlTextHandler* texts; int result; std::vector<std::string> seen; };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?>\n<A><B>x</B></A>", textB, XML_COMPLETE, {"text x"}},
        {"<A><B>x</B></A>", tailB, XML_COMPLETE, {"text x"}},
        {"<A><B></B></A>trailing <junk", textB, XML_COMPLETE, {"text "}},
        {"<A><B/><B attr=\"1\" /></A>", textB, XML_COMPLETE, {}},
        {"<A><B>x<C></C></B></A>", textB, XML_CHILD_IN_TEXT, {}},
        {"<A><B>x</C></A>", textB, XML_TEXT_END_MISMATCH, {}},
        {"<A></B>", textB, XML_END_MISMATCH, {}},
        {"<A><B>", nullptr, XML_INCOMPLETE, {}},
        {"</A>", nullptr, XML_END_WITHOUT_OPEN, {}},
        {"", nullptr, XML_INCOMPLETE, {}},
        {"<A><B skip=\"3\">a<b</B></A>", textB, XML_COMPLETE, {"text a<b"}},
        {"<A><B skip=\"x\">ab</B></A>", textB, XML_COMPLETE, {"text ab"}},
        {"<A><B skip=\"40000\">ab</B></A>", textB, XML_BAD_PATH, {}},
        {"<A><B skip=\"50\">ab</B></A>", textB, XML_INCOMPLETE, {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.doc);
        CHECK(parse(c.doc, nullptr, 0, c.texts, c.texts ? 1 : 0) == c.result);
        CHECK(events == c.seen);
    }
}

TEST_CASE("element handlers run at start and end tags and can abort")
{
    const XmlElementHandler handlers[] = {
        {"<A>", onStartA, XML_AT_START},
        {"<A>", onEndA, XML_AT_END},
        {"<A><B>", onStartB, XML_AT_START},
    };
    const XmlTextHandler texts[] = {{"<A><B>", onText}};
    // A start handler on B keeps its text handler from running.
    CHECK(parse("<A><B>x</B></A>", handlers, 3, texts, 1) == XML_COMPLETE);
    CHECK(events == std::vector<std::string>{"start A", "start B", "end A"});

    const XmlElementHandler aborting[] = {{"<B>", refuse, XML_AT_START}};
    CHECK(parse("<A><B>x</B></A>", aborting, 1, nullptr, 0) == XML_ABORTED);
    const XmlTextHandler refusingText[] = {{"<B>", [](const char*, const char*, const char*) { return 0; }}};
    CHECK(parse("<A><B>x</B></A>", nullptr, 0, refusingText, 1) == XML_ABORTED);
}

TEST_CASE("an end handler on an inner element lets the document go on")
{
    const XmlElementHandler handlers[] = {
        {"<B>", onStartB, XML_AT_END},
        {"<A>", onEndA, XML_AT_END},
    };
    CHECK(parse("<A><B></B></A>", handlers, 2, nullptr, 0) == XML_COMPLETE);
    CHECK(events == std::vector<std::string>{"start B", "end A"});
}

TEST_CASE("parsing resumes when more of the buffer arrives")
{
    const XmlTextHandler texts[] = {{"<B>", onText}};
    const std::string doc = "<?xml?><A><B>hello</B><B>again</B></A>";
    events.clear();
    xmlReaderRestart();
    xmlReaderSetElementHandlers(nullptr, 0);
    xmlReaderSetTextHandlers(texts, 1);
    int result = XML_INCOMPLETE;
    uint32_t length = 0;
    while (result == XML_INCOMPLETE && length < doc.size())
        result = xmlReaderParse(doc.data(), ++length);
    CHECK(result == XML_COMPLETE);
    CHECK(length == doc.size());
    CHECK(events == std::vector<std::string>{"text hello", "text again"});
}

TEST_CASE("no buffer on the first call, and oversized fields are refused")
{
    xmlReaderReset();
    CHECK(xmlReaderParse(nullptr, 10) == XML_NO_BUFFER);

    const std::string longName = "<A><" + std::string(250, 'N') + "></A>";
    CHECK(parse(longName, nullptr, 0, nullptr, 0) == XML_BAD_PATH);
    const std::string longAttr = "<A x=\"" + std::string(250, 'v') + "\"></A>";
    CHECK(parse(longAttr, nullptr, 0, nullptr, 0) == XML_BAD_PATH);
    std::string deep;
    for (int i = 0; i < 70; ++i)
        deep += "<E>";
    CHECK(parse(deep, nullptr, 0, nullptr, 0) == XML_BAD_PATH);
}
