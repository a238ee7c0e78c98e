#include <winsock2.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Watchdog.h"
#include "common/system/sockets/TcpServerSocket.h"

namespace Common::System::Sockets {
namespace {

constexpr auto kPatience = std::chrono::seconds(20);
const std::string kLoopback = "127.0.0.1";

// A blocking client on the loopback address; keeps Windows Sockets started while it exists.
class TestClient : public WinSocketBase {
 public:
  explicit TestClient(unsigned short port) : socket_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
    const DWORD timeout = 20000;
    setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(kLoopback.c_str());
    address.sin_port = htons(port);
    connected_ = connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  }
  ~TestClient() override { closesocket(socket_); }

  bool Connected() const { return connected_; }
  void Send(const std::string& bytes) {
    ASSERT_EQ(send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0), static_cast<int>(bytes.size()));
  }
  // Reads exactly count bytes, or fewer when the server closes the connection first.
  std::string Receive(size_t count) {
    std::string bytes;
    char buffer[256];
    while (bytes.size() < count) {
      const int got =
          recv(socket_, buffer, static_cast<int>(std::min(count - bytes.size(), sizeof buffer)), 0);
      if (got <= 0) break;
      bytes.append(buffer, got);
    }
    return bytes;
  }
  // True when the server ended the connection (as opposed to the receive timing out).
  bool SeesEnd() {
    char byte;
    return recv(socket_, &byte, 1, 0) == 0 || WSAGetLastError() == WSAECONNRESET;
  }
  void Leave() { closesocket(socket_), socket_ = INVALID_SOCKET; }
  // How many bytes have arrived and wait to be read.
  u_long Pending() {
    u_long count = 0;
    ioctlsocket(socket_, FIONREAD, &count);
    return count;
  }

 private:
  SOCKET socket_;
  bool connected_ = false;
};

// Records what the server's threads report.
class RecordingServer : public TcpServerSocket {
 public:
  ~RecordingServer() override { Close(); }

  void OnReceive(int client, const char* data, int length) override {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      received_[client].append(data, length);
      receivingThreads_[client] = GetCurrentThreadId();
      largestReceipt_ = std::max(largestReceipt_, length);
    }
    changed_.notify_all();
    if (onReceive) onReceive(client);
  }
  bool OnConnect(int client) override {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      connected_.push_back(client);
    }
    changed_.notify_all();
    if (onConnect) onConnect(client);
    return acceptClients;
  }

  bool WaitForConnections(size_t count) {
    return WaitUntil([&] { return connected_.size() >= count; });
  }
  bool WaitForBytes(int client, size_t count) {
    return WaitUntil([&] { return received_[client].size() >= count; });
  }
  std::string Received(int client) {
    std::lock_guard<std::mutex> hold(mutex_);
    return received_[client];
  }
  std::vector<int> Connected() {
    std::lock_guard<std::mutex> hold(mutex_);
    return connected_;
  }
  DWORD ReceivingThread(int client) {
    std::lock_guard<std::mutex> hold(mutex_);
    return receivingThreads_[client];
  }
  int LargestReceipt() {
    std::lock_guard<std::mutex> hold(mutex_);
    return largestReceipt_;
  }

  bool acceptClients = true;
  std::function<void(int client)> onConnect;  // runs on the listener thread
  std::function<void(int client)> onReceive;  // runs on the client's thread

 private:
  bool WaitUntil(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> hold(mutex_);
    return changed_.wait_for(hold, kPatience, done);
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<int, std::string> received_;
  std::map<int, DWORD> receivingThreads_;
  std::vector<int> connected_;
  int largestReceipt_ = 0;
};

// Polls until the condition holds, for at most the test's patience.
bool Eventually(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(10);
  }
  return true;
}

class TcpServerSocketTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Open(kLoopback, 0));
    port = server.Port();
  }

  // Connects clients one after another, each after the server saw the previous one.
  std::vector<std::unique_ptr<TestClient>> ConnectClients(size_t count) {
    std::vector<std::unique_ptr<TestClient>> clients;
    for (size_t i = 0; i < count; ++i) {
      clients.push_back(std::make_unique<TestClient>(port));
      EXPECT_TRUE(clients.back()->Connected());
      EXPECT_TRUE(server.WaitForConnections(i + 1));
    }
    return clients;
  }

  RecordingServer server;
  unsigned short port = 0;
};

TEST_F(TcpServerSocketTest, NumbersClientsInOrderAndHandsOnWhatEachSends) {
  auto clients = ConnectClients(3);
  for (int i = 2; i >= 0; --i) clients[i]->Send("from client " + std::to_string(i));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(server.WaitForBytes(i, 13));
    EXPECT_EQ(server.Received(i), "from client " + std::to_string(i));
  }
  EXPECT_EQ(server.Connected(), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(server.IsOpen());
}

TEST_F(TcpServerSocketTest, SendReachesOneClientAndBroadcastReachesAll) {
  auto clients = ConnectClients(2);
  EXPECT_TRUE(server.Send(1, std::string("only one")));
  EXPECT_TRUE(server.Broadcast(std::string("all")));
  EXPECT_EQ(clients[0]->Receive(4), std::string("all", 4));  // the string form sends the zero too
  EXPECT_EQ(clients[1]->Receive(12), std::string("only oneall", 12));
}

TEST_F(TcpServerSocketTest, SendFailsToANumberThatNeverConnectedAndForABadLength) {
  auto clients = ConnectClients(1);
  EXPECT_FALSE(server.Send(1, std::string("x")));
  EXPECT_FALSE(server.Send(-1, std::string("x")));
  EXPECT_FALSE(server.Send(0, "x", -1));
  EXPECT_FALSE(server.Send(0, nullptr, 1));
}

TEST_F(TcpServerSocketTest, ClientsConnectingAtOnceEachGetTheirOwnNumber) {
  constexpr int kClients = 8;
  std::vector<std::thread> threads;
  std::vector<std::unique_ptr<TestClient>> clients(kClients);
  for (int i = 0; i < kClients; ++i) {
    threads.emplace_back([&, i] {
      clients[i] = std::make_unique<TestClient>(port);
      clients[i]->Send(std::string(1, static_cast<char>('a' + i)));
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_TRUE(server.WaitForConnections(kClients));
  std::string letters;
  for (int number = 0; number < kClients; ++number) {
    ASSERT_TRUE(server.WaitForBytes(number, 1));
    letters += server.Received(number);
  }
  std::sort(letters.begin(), letters.end());
  EXPECT_EQ(letters, "abcdefgh");
}

TEST_F(TcpServerSocketTest, ABigMessageArrivesWholeInPiecesThatFitTheBuffer) {
  auto clients = ConnectClients(1);
  std::string big(100000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  clients[0]->Send(big);
  ASSERT_TRUE(server.WaitForBytes(0, big.size()));
  EXPECT_EQ(server.Received(0), big);
  EXPECT_LE(server.LargestReceipt(), 2047);
}

TEST_F(TcpServerSocketTest, AClientThatLeavesIsForgottenAndItsNumberNotReused) {
  auto clients = ConnectClients(2);
  clients[0]->Leave();
  // Sending nothing succeeds exactly while the server still holds a connection for the number.
  EXPECT_TRUE(Eventually([&] { return !server.Send(0, std::string()); }));
  EXPECT_TRUE(server.Broadcast(std::string("still")));  // the clients that are left get it
  EXPECT_EQ(clients[1]->Receive(6), std::string("still", 6));
  TestClient next(port);
  ASSERT_TRUE(server.WaitForConnections(3));
  EXPECT_EQ(server.Connected().back(), 2);
}

TEST_F(TcpServerSocketTest, ClosingWhileClientsAreConnectedEndsEveryConnection) {
  auto clients = ConnectClients(3);
  clients[1]->Send("busy");
  server.Close();
  EXPECT_FALSE(server.IsOpen());
  for (auto& client : clients) EXPECT_TRUE(client->SeesEnd());
  EXPECT_FALSE(server.Send(0, std::string("x")));
  EXPECT_FALSE(TestClient(port).Connected());
}

TEST_F(TcpServerSocketTest, OpensAgainAfterClosingAndNumbersFromZero) {
  ConnectClients(1);
  server.Close();
  EXPECT_EQ(server.Port(), 0);
  ASSERT_TRUE(server.Open(kLoopback, port));
  EXPECT_EQ(server.Port(), port);
  TestClient again(port);
  ASSERT_TRUE(again.Connected());
  ASSERT_TRUE(server.WaitForConnections(2));
  EXPECT_EQ(server.Connected(), (std::vector<int>{0, 0}));
  again.Send("hello");
  EXPECT_TRUE(server.WaitForBytes(0, 5));
}

TEST_F(TcpServerSocketTest, ARefusedClientIsClosedAndUsesUpItsNumber) {
  server.acceptClients = false;
  TestClient refused(port);
  ASSERT_TRUE(server.WaitForConnections(1));
  EXPECT_TRUE(refused.SeesEnd());
  server.acceptClients = true;
  TestClient accepted(port);
  ASSERT_TRUE(server.WaitForConnections(2));
  EXPECT_EQ(server.Connected(), (std::vector<int>{0, 1}));
  EXPECT_TRUE(server.Send(1, std::string("x")));
}

TEST_F(TcpServerSocketTest, AClientClosedFromItsOwnReceiveHandlerEnds) {
  server.onReceive = [&](int client) { server.CloseClient(client); };
  auto clients = ConnectClients(2);
  clients[0]->Send("bye");
  EXPECT_TRUE(clients[0]->SeesEnd());
  EXPECT_FALSE(server.Send(0, std::string("x")));
  EXPECT_TRUE(server.Send(1, std::string("x")));
}

TEST(TcpServerSocket, APortAlreadyInUseIsRefusedAndLeavesTheServerClosed) {
  RecordingServer first;
  ASSERT_TRUE(first.Open(kLoopback, 0));
  const unsigned short port = first.Port();
  RecordingServer second;
  EXPECT_FALSE(second.Open(kLoopback, port));
  EXPECT_FALSE(second.IsOpen());
  // The first server keeps its clients.
  TestClient client(port);
  EXPECT_TRUE(first.WaitForConnections(1));
  EXPECT_TRUE(second.Connected().empty());
}

TEST(TcpServerSocket, AnAddressThatIsNoDottedIPv4AddressIsRefused) {
  for (const char* host : {"not an address", "", "127.0.0.256"}) {
    RecordingServer server;
    EXPECT_FALSE(server.Open(host, 0)) << host;
    EXPECT_FALSE(server.IsOpen()) << host;
    EXPECT_EQ(server.Port(), 0) << host;
  }
}

TEST(TcpServerSocket, WindowsSocketsLastsWhileAnySocketObjectExists) {
  auto first = std::make_unique<RecordingServer>();
  auto second = std::make_unique<RecordingServer>();
  first.reset();
  const SOCKET stillThere = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  EXPECT_NE(stillThere, INVALID_SOCKET);
  closesocket(stillThere);
  second.reset();
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

// Polls until the thread has ended, for at most the test's patience.
bool Ended(HANDLE thread) {
  return WaitForSingleObject(thread, static_cast<DWORD>(kPatience.count() * 1000)) == WAIT_OBJECT_0;
}

HANDLE CurrentThread() {
  return OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId());
}

// A server whose client thread, once its client has left, stops inside CloseClient, with its
// connection out of the client map but not yet ended, until the test lets it go on.
class ServerHeldInsideCloseClient : public RecordingServer {
 public:
  ~ServerHeldInsideCloseClient() override {
    SetEvent(letGo);
    Close();
    for (HANDLE handle : {clientThread, inside, letGo}) CloseHandle(handle);
  }

  HANDLE clientThread = nullptr;
  HANDLE inside = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE letGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);

 protected:
  void OnClientClosed(int) override {
    clientThread = CurrentThread();
    SetEvent(inside);
    WaitForSingleObject(letGo, 20000);
  }
};

TEST(TcpServerSocket, CloseWaitsForAClientThreadThatIsClosingItsConnection) {
  ServerHeldInsideCloseClient server;
  ASSERT_TRUE(server.Open(kLoopback, 0));
  TestClient client(server.Port());
  ASSERT_TRUE(server.WaitForConnections(1));
  client.Leave();
  ASSERT_EQ(WaitForSingleObject(server.inside, 20000), WAIT_OBJECT_0);
  std::atomic<bool> closed{false};
  std::thread closing([&] {
    server.Close();
    closed = true;
  });
  // Far longer than stopping the listener takes: a Close that missed the connection has returned.
  Sleep(500);
  EXPECT_FALSE(closed) << "Close returned while a client thread was still closing its connection";
  SetEvent(server.letGo);
  closing.join();
  EXPECT_EQ(WaitForSingleObject(server.clientThread, 0), WAIT_OBJECT_0) << "the client thread outlived Close";
}

TEST_F(TcpServerSocketTest, CloseCalledFromOnReceiveReturnsAndEndsEverything) {
  std::atomic<bool> returned{false};
  server.onReceive = [&](int) {
    server.Close();
    returned = true;
  };
  auto clients = ConnectClients(2);
  Testing::FinishesWithoutDeadlock(
      [&] {
        clients[0]->Send("close");
        EXPECT_TRUE(Eventually([&] { return returned.load(); }));
        EXPECT_FALSE(server.IsOpen());
        for (auto& client : clients) EXPECT_TRUE(client->SeesEnd());
        EXPECT_FALSE(TestClient(port).Connected());
        server.Close();  // from here, waits for every thread of the server
      },
      2 * kPatience);
}

TEST_F(TcpServerSocketTest, TwoReceiveHandlersClosingAtOnceBothReturn) {
  std::atomic<int> inside{0};
  std::atomic<int> returned{0};
  server.onReceive = [&](int) {
    // Both handlers are inside before either closes, then they close together.
    ++inside;
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (inside < 2 && std::chrono::steady_clock::now() < end) std::this_thread::yield();
    server.Close();
    ++returned;
  };
  auto clients = ConnectClients(2);
  Testing::FinishesWithoutDeadlock(
      [&] {
        clients[0]->Send("a");
        clients[1]->Send("b");
        EXPECT_TRUE(Eventually([&] { return returned == 2; }));
        for (auto& client : clients) EXPECT_TRUE(client->SeesEnd());
        server.Close();
      },
      2 * kPatience);
}

TEST_F(TcpServerSocketTest, CloseCalledFromOnConnectReturnsAndEndsEverything) {
  std::atomic<bool> returned{false};
  server.onConnect = [&](int) {
    server.Close();
    returned = true;
  };
  TestClient client(port);
  Testing::FinishesWithoutDeadlock(
      [&] {
        EXPECT_TRUE(Eventually([&] { return returned.load(); }));
        EXPECT_FALSE(server.IsOpen());
        EXPECT_TRUE(client.SeesEnd());
        EXPECT_FALSE(TestClient(port).Connected());
        server.Close();  // waits for the listener, which has ended by now
      },
      2 * kPatience);
}

TEST_F(TcpServerSocketTest, OpenCalledFromOnConnectListensAgainOnThePort) {
  std::atomic<int> openings{0};
  server.onConnect = [&](int) {
    if (openings == 0) openings = server.Open(kLoopback, port) ? 1 : -1;
  };
  TestClient first(port);
  Testing::FinishesWithoutDeadlock(
      [&] {
        const bool reopened = Eventually([&] { return openings != 0; });
        EXPECT_TRUE(reopened);
        if (reopened) {
          EXPECT_EQ(openings, 1);
          EXPECT_TRUE(server.IsOpen());
          EXPECT_TRUE(first.SeesEnd());  // opening again closed the server first
          TestClient second(port);
          EXPECT_TRUE(second.Connected());
          EXPECT_TRUE(server.WaitForConnections(2));
          EXPECT_EQ(server.Connected(), (std::vector<int>{0, 0}));
          second.Send("again");
          EXPECT_TRUE(server.WaitForBytes(0, 5));
        }
        server.Close();
      },
      2 * kPatience);
}

// How many handles refer to the object behind handle, this one included.
ULONG HandlesTo(HANDLE handle) {
  PUBLIC_OBJECT_BASIC_INFORMATION info = {};
  NtQueryObject(handle, ObjectBasicInformation, &info, sizeof info, nullptr);
  return info.HandleCount;
}

TEST_F(TcpServerSocketTest, AClientThatLeftIsLetGoWhileNoOtherConnects) {
  auto clients = ConnectClients(1);
  clients[0]->Send("x");
  ASSERT_TRUE(server.WaitForBytes(0, 1));
  const HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, server.ReceivingThread(0));
  EXPECT_EQ(HandlesTo(thread), 2u);  // this one and the connection's
  clients[0]->Leave();
  EXPECT_TRUE(Ended(thread));
  // The connection, its socket and its thread go without another client coming to the listener.
  EXPECT_TRUE(Eventually([&] { return HandlesTo(thread) == 1; }));
  CloseHandle(thread);
}

// The ways a thread that is not one of the server's ends client number 0.
std::vector<std::pair<const char*, std::function<void()>>> WaysToEndClientZero(TcpServerSocket& server) {
  return {{"CloseClient", [&server] { server.CloseClient(0); }}, {"Close", [&server] { server.Close(); }}};
}

// How long a held handler waits to be let go before it goes on by itself: far longer than a Close
// that does not wait for it takes to return.
constexpr auto kLinger = std::chrono::seconds(1);

// A client of the open server whose first bytes keep the server's handler inside OnReceive until it is
// let go, or until kLinger has passed.
class HeldHandler {
 public:
  explicit HeldHandler(RecordingServer& server) {
    server.onReceive = [this, released = letGo_.get_future().share()](int) {
      inside_.set_value(CurrentThread());
      released.wait_for(kLinger);
    };
    client_ = std::make_unique<TestClient>(server.Port());
    client_->Send("x");
    auto inside = inside_.get_future();
    if (inside.wait_for(kPatience) == std::future_status::ready) thread_ = inside.get();
  }
  HeldHandler(const HeldHandler&) = delete;
  HeldHandler& operator=(const HeldHandler&) = delete;
  ~HeldHandler() {
    LetGo();
    if (thread_) CloseHandle(thread_);
  }

  // False when the handler never began.
  bool IsInside() const { return thread_ != nullptr; }
  bool HasEnded() const { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }
  void LetGo() {
    if (!letGone_) letGo_.set_value();
    letGone_ = true;
  }

 private:
  std::promise<HANDLE> inside_;
  std::promise<void> letGo_;
  bool letGone_ = false;
  std::unique_ptr<TestClient> client_;
  HANDLE thread_ = nullptr;
};

TEST_F(TcpServerSocketTest, CloseWaitsForAHandlerWhoseClientAnotherThreadIsEnding) {
  for (const auto& [way, endClient] : WaysToEndClientZero(server)) {
    SCOPED_TRACE(way);
    ASSERT_TRUE(server.Open(kLoopback, 0));
    HeldHandler held(server);
    ASSERT_TRUE(held.IsInside());
    std::thread ending(endClient);
    // Out of the server, with its handler still inside OnReceive, before this thread closes.
    EXPECT_TRUE(Eventually([&] { return !server.Send(0, std::string()); }));
    server.Close();
    const bool handlerEnded = held.HasEnded();
    held.LetGo();
    ending.join();
    EXPECT_TRUE(handlerEnded) << "Close returned while a client thread was still in OnReceive";
  }
}

// Called from a thread that is not the server's, CloseClient returns once no OnReceive for the client
// runs any more.
TEST_F(TcpServerSocketTest, CloseClientFromAnotherThreadReturnsOnceItsHandlerHasEnded) {
  ASSERT_TRUE(server.Open(kLoopback, 0));
  HeldHandler held(server);
  ASSERT_TRUE(held.IsInside());
  server.CloseClient(0);
  EXPECT_TRUE(held.HasEnded()) << "CloseClient returned while the client's thread was still in OnReceive";
  held.LetGo();
  server.Close();
}

TEST_F(TcpServerSocketTest, AClientThatReadsNothingHoldsUpNoEndingOfItsConnection) {
  // Far more than the buffers on both sides hold, so the send waits for the client for ever.
  const std::string flood(64 << 20, 'x');
  const std::vector<std::pair<const char*, std::function<bool()>>> sends = {
      {"Send", [&] { return server.Send(0, flood); }},
      {"Broadcast", [&] { return server.Broadcast(flood); }}};
  size_t connections = 0;
  for (const auto& [send, sendFlood] : sends) {
    for (const auto& [way, endClient] : WaysToEndClientZero(server)) {
      SCOPED_TRACE(std::string(send) + ", then " + way);
      ASSERT_TRUE(server.Open(kLoopback, 0));
      TestClient client(server.Port());
      ASSERT_TRUE(server.WaitForConnections(++connections));
      auto sent = std::async(std::launch::async, sendFlood);
      EXPECT_TRUE(Eventually([&] { return client.Pending() > 0; })) << "the send never began";
      Testing::FinishesWithoutDeadlock(
          [&] {
            endClient();
            EXPECT_FALSE(sent.get());  // the send, too, has ended
          },
          2 * kPatience);
    }
  }
}

TEST_F(TcpServerSocketTest, OpenCalledFromAHandlerWhileAnotherThreadClosesFails) {
  std::atomic<int> opened{0};  // 1 when the handler's Open succeeded, -1 when it failed
  server.onReceive = [&](int) {
    if (!Eventually([&] { return !server.IsOpen(); })) return;  // until the Close is under way
    opened = server.Open(kLoopback, 0) ? 1 : -1;
  };
  auto clients = ConnectClients(1);
  clients[0]->Send("x");
  ASSERT_TRUE(server.WaitForBytes(0, 1));
  Testing::FinishesWithoutDeadlock([&] { server.Close(); }, 2 * kPatience);
  // Close has waited for the handler, and nothing of the server runs on.
  EXPECT_EQ(opened, -1);
  EXPECT_FALSE(server.IsOpen());
  EXPECT_EQ(server.Port(), 0);
}

}  // namespace
}  // namespace Common::System::Sockets
