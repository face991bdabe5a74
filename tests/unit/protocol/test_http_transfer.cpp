#include "protocol/http_transfer.h"
#include "support/scripted_http_server.h"

#include <gtest/gtest.h>

using namespace lark;
using namespace std::chrono;
using Answer = test::ScriptedHttpServer::Answer;
using Ending = HttpTransfer::Ending;

// Each way a reply may be framed, got twice on one transfer: the body, the status, and whether
// the second get could keep the connection. Hand-written replies: the framings HTTP/1.1 allows.
TEST(HttpTransfer, EveryFramingIsReadWholeAndKeepsTheConnectionOnlyWhenItMay)
{
    struct Case
    {
        const char *name;
        std::string reply;
        Answer answer;
        Ending ending;
        int status;
        std::string body;
        long secondConnects; // 0: the connection was kept
    };
    const Case cases[] = {
        {"chunked, extension and trailer",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;x=1\r\nhello\r\n6\r\n "
         "world\r\n0\r\nX-Checked: 1\r\n\r\n",
         Answer::AsWritten, Ending::Done, 200, "hello world", 0},
        {"until the server closes", "HTTP/1.0 200 OK\r\n\r\nhello world",
         Answer::AsWrittenThenClose, Ending::Done, 200, "hello world", 1},
        {"interim reply first",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone",
         Answer::AsWritten, Ending::Done, 404, "gone", 0},
        {"HTTP/1.0 kept alive",
         "HTTP/1.0 200 OK\r\nConnection: keep-alive\r\nContent-Length: 2\r\n\r\nok",
         Answer::AsWritten, Ending::Done, 200, "ok", 0},
        {"close asked", "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok",
         Answer::AsWrittenThenClose, Ending::Done, 200, "ok", 1},
        {"kept connection closed by the server", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
         Answer::AsWrittenThenClose, Ending::Done, 200, "ok", 1},
        {"shorter than its length", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\nhello",
         Answer::AsWrittenThenClose, Ending::Failed, 200, "hello", 1},
        {"unreadable length", "HTTP/1.1 200 OK\r\nContent-Length: 2x\r\n\r\nok",
         Answer::AsWrittenThenClose, Ending::Failed, 200, "", 1},
        {"unreadable chunk size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
         Answer::AsWrittenThenClose, Ending::Failed, 200, "", 1},
        {"not HTTP", "SSH-2.0-OpenSSH_9.2\r\n", Answer::AsWrittenThenClose, Ending::Failed, 0, "",
         1},
    };
    for (const Case &c : cases) {
        test::ScriptedHttpServer server({c.reply}, milliseconds(0), c.answer);
        HttpTransfer transfer({"Lark", seconds(2), seconds(2), {}});
        for (int get = 0; get < 2; ++get) {
            std::string body;
            const auto outcome = transfer.get("http://" + server.address() + "/q", seconds(5),
                                              [&](std::string_view piece) {
                                                  body.append(piece);
                                                  return true;
                                              });
            EXPECT_EQ(outcome.ending, c.ending) << c.name << ", get " << get;
            EXPECT_EQ(outcome.status, c.status) << c.name;
            EXPECT_EQ(body, c.body) << c.name;
            EXPECT_EQ(outcome.connects, get == 0 ? 1 : c.secondConnects) << c.name;
        }
    }
}
