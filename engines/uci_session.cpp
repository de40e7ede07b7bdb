#include "engines/uci_session.h"

#include <algorithm>

namespace engines {

namespace {

std::string BaseName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

}  // namespace

UciSession::UciSession(position::NotationStyle style) : m_style(std::move(style)) {}

UciSession::~UciSession() {
    Quit();
}

bool UciSession::Start(const std::string& path, double now) {
    Quit();
    m_path = path;
    m_name = BaseName(path);
    m_error.clear();
    m_lines.clear();
    m_bestMove.clear();
    m_uciOk = false;
    m_process = std::make_unique<ChildProcess>();
    std::string why;
    if (!m_process->Start(path, {}, why)) {
        m_process.reset();
        m_state = UciState::kFailed;
        m_error = "The engine " + path + " could not be started: " + why + ".";
        return false;
    }
    m_state = UciState::kStarting;
    m_deadline = now + kUciHandshakeSeconds;
    Send("uci");
    return true;
}

bool UciSession::Go(const ChessPosition& pos, const UciLimits& limits) {
    if (m_state != UciState::kReady) {
        return false;
    }
    m_position = pos;
    m_multipv = std::clamp(limits.multipv, 1, kMaxMultiPv);
    m_lines.clear();
    m_bestMove.clear();
    Send("setoption name MultiPV value " + std::to_string(m_multipv));
    Send("position fen " + UciFen(pos));
    if (limits.depth > 0) {
        Send("go depth " + std::to_string(limits.depth));
    } else if (limits.movetimeMs > 0) {
        Send("go movetime " + std::to_string(limits.movetimeMs));
    } else {
        Send("go infinite");
    }
    m_state = UciState::kSearching;
    return true;
}

void UciSession::Stop(double now) {
    if (m_state != UciState::kSearching) {
        return;
    }
    Send("stop");
    m_state = UciState::kStopping;
    m_deadline = now + kUciStopSeconds;
}

UciTick UciSession::Poll(double now, int waitMs) {
    UciTick tick;
    if (!m_process || m_state == UciState::kIdle || m_state == UciState::kFailed) {
        return tick;
    }
    for (const std::string& line : m_process->ReadLines(waitMs)) {
        Take(line, tick);
        if (m_state == UciState::kFailed) {
            return tick;
        }
    }
    if (m_process->AtEnd() || !m_process->Running()) {
        Fail("The engine " + m_name + " has stopped unexpectedly.", tick);
    } else if (m_state == UciState::kStarting && now > m_deadline) {
        Fail("The engine " + m_path +
                 " did not answer \"uci\" with \"uciok\" within 5 seconds; it is not used.",
             tick);
    } else if (m_state == UciState::kStopping && now > m_deadline) {
        Fail("The engine " + m_name + " did not stop when asked; it was ended.", tick);
    }
    return tick;
}

void UciSession::Take(const std::string& line, UciTick& tick) {
    const UciMessage message = ParseUciLine(line);
    switch (message.kind) {
        case UciMessage::Kind::kIdName:
            if (!message.text.empty()) {
                m_name = message.text;
            }
            break;
        case UciMessage::Kind::kUciOk:
            if (m_state == UciState::kStarting && !m_uciOk) {
                m_uciOk = true;
                Send("isready");
            }
            break;
        case UciMessage::Kind::kReadyOk:
            if (m_state == UciState::kStarting && m_uciOk) {
                m_state = UciState::kReady;
                tick.ready = true;
            }
            break;
        case UciMessage::Kind::kBestMove:
            if (m_state == UciState::kSearching || m_state == UciState::kStopping) {
                m_bestMove = message.text;
                m_state = UciState::kReady;
                tick.finished = true;
            }
            break;
        case UciMessage::Kind::kInfo: {
            if (m_state != UciState::kSearching && m_state != UciState::kStopping) {
                break;
            }
            const UciInfo& info = message.info;
            if (info.score.kind == UciScore::Kind::kNone || info.multipv > m_multipv) {
                break;
            }
            auto at = std::find_if(m_lines.begin(), m_lines.end(),
                                   [&info](const AnalysisLine& l) { return l.multipv == info.multipv; });
            // A bound is the interim result of a search about to be
            // repeated: it stands only until an exact score has come.
            if (info.score.bound != UciScore::Bound::kExact && at != m_lines.end() &&
                at->score.bound == UciScore::Bound::kExact) {
                break;
            }
            if (at == m_lines.end()) {
                at = m_lines.insert(
                    std::upper_bound(m_lines.begin(), m_lines.end(), info.multipv,
                                     [](int n, const AnalysisLine& l) { return n < l.multipv; }),
                    AnalysisLine{});
                at->multipv = info.multipv;
            }
            at->depth = info.depth.value_or(at->depth);
            at->score = info.score;
            at->scoreText = FormatScore(info.score, m_position.WhiteToMove());
            if (!info.pv.empty() || info.depth.value_or(1) == 0) {
                at->uci = info.pv;
                at->moves = LineToSan(m_position, info.pv, m_style);
            }
            tick.linesChanged = true;
            break;
        }
        default:
            break;
    }
}

void UciSession::Quit() {
    if (m_process) {
        if (m_process->Running()) {
            Send("quit");
            if (!m_process->WaitForExit(500)) {
                m_process->Kill();
            }
        }
        m_process.reset();
    }
    if (m_state != UciState::kFailed) {
        m_state = UciState::kIdle;
    }
}

void UciSession::Send(const std::string& command) {
    m_sent.push_back(command);
    if (m_process) {
        m_process->Write(command + "\n");
    }
}

void UciSession::Fail(const std::string& error, UciTick& tick) {
    m_error = error;
    m_state = UciState::kFailed;
    tick.failed = true;
    if (m_process) {
        m_process->Kill();
        m_process.reset();
    }
}

}  // namespace engines
