#pragma once

#include "support/TestServer.h"

#include <QTest>

namespace tessaly::test {

// Rows of a QtTest _data function for a server that holds its client on
// without ever failing it (silence, a body trickled a byte each 100 ms, a body
// that never ends): "holding", the HTTPS attempt's response, and "httpAnswers",
// whether the plain HTTP attempt that follows is answered or held on as well.
inline void addHoldingRows() {
    QTest::addColumn<ScriptedResponse>("holding");
    QTest::addColumn<bool>("httpAnswers");
    ScriptedResponse silent, trickle, endless;
    silent.silent = true;
    trickle.bodySize = 200, trickle.trickleMs = 100;
    endless.endless = true, endless.trickleMs = 100;
    const QList<QPair<const char*, ScriptedResponse>> ways = {
        {"silent", silent}, {"trickle", trickle}, {"endless", endless}};
    for (bool httpAnswers : {true, false})
        for (const auto& [name, holding] : ways)
            QTest::addRow("%s, %s", name, httpAnswers ? "HTTP answers" : "HTTP too")
                << holding << httpAnswers;
}

// Routes `path` for a row of addHoldingRows: HTTPS holds on, plain HTTP gives
// `answer` or holds on too.
inline void routeHolding(TestServer& server, const QString& path, const ScriptedResponse& holding,
                         bool httpAnswers, const ScriptedResponse& answer) {
    server.respond(path, {holding}, Scheme::Https);
    server.respond(path, {httpAnswers ? answer : holding}, Scheme::Http);
}

} // namespace tessaly::test
