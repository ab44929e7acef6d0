#include "PrivatePostgresServer.h"

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pqxx/pqxx>
#include <stdexcept>
#include <vector>

#include "SpawnedProgram.h"
#include "TemporaryDirectory.h"

namespace KramoTest {
namespace {

const std::string Binaries = "/usr/lib/postgresql/15/bin/";

bool IsRoot() {
    return ::geteuid() == 0;
}

// The server's programs refuse to run as root: as root they run as the postgres user.
std::vector<std::string> AsServerUser(std::vector<std::string> command) {
    if (IsRoot()) {
        command.insert(command.begin(), {"/usr/sbin/runuser", "-u", "postgres", "--"});
    }
    return command;
}

// Runs the command with its output appended to the log file; throws when it fails.
void Run(const std::vector<std::string>& command, const std::string& logFile) {
    const pid_t child = StartProgram(command, logFile);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("PrivatePostgresServer: '" + command.front() +
                                 "' failed (exit status):\n" + ReadWholeFile(logFile));
    }
}

int FreePort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (probe < 0 || ::bind(probe, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("PrivatePostgresServer: no free port");
    }
    ::close(probe);
    return ntohs(address.sin_port);
}

// The folder must belong to the server's user, and the folders above it must let it in.
std::string MakeServerFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kramo-pg-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("PrivatePostgresServer: mkdtemp failed");
    }
    const std::string folder = buffer.data();
    ::chmod(folder.c_str(), 0755);
    if (IsRoot()) {
        const passwd* user = ::getpwnam("postgres");
        if (user == nullptr || ::chown(folder.c_str(), user->pw_uid, user->pw_gid) != 0) {
            throw std::runtime_error("PrivatePostgresServer: no postgres user to own " + folder);
        }
    }
    return folder;
}

}  // namespace

PrivatePostgresServer::PrivatePostgresServer(const std::string& schemaFile,
                                             const std::string& saleName)
    : folder_(MakeServerFolder()), dataFolder_(folder_ + "/data") {
    connection_.address = "127.0.0.1";
    connection_.port = FreePort();
    connection_.user = "kramo";
    connection_.password = "pokladna 'restart'";
    connection_.databaseName = "kramo";
    try {
        InitialiseDataFolder();
        Start();
        CreateDatabase(schemaFile, saleName);
    } catch (...) {
        Remove();
        throw;
    }
}

PrivatePostgresServer::~PrivatePostgresServer() {
    Remove();
}

void PrivatePostgresServer::Remove() {
    if (running_) {
        try {
            Stop();
        } catch (const std::exception&) {
            // The folder goes all the same.
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void PrivatePostgresServer::InitialiseDataFolder() {
    Run(AsServerUser({Binaries + "initdb", "-D", dataFolder_, "-U", "postgres", "-A", "trust", "-E",
                      "UTF8", "--locale=C.UTF-8", "--no-sync"}),
        folder_ + "/commands.log");
    // The socket for the administrator alone; the desks come over TCP with a password.
    std::ofstream(dataFolder_ + "/pg_hba.conf")
        << "local all all trust\nhost all all 127.0.0.1/32 scram-sha-256\n";
}

void PrivatePostgresServer::CreateDatabase(const std::string& schemaFile,
                                           const std::string& saleName) {
    {
        pqxx::connection administrator("host=" + folder_ +
                                       " port=" + std::to_string(connection_.port) +
                                       " user=postgres dbname=postgres");
        pqxx::nontransaction work(administrator);
        work.exec("CREATE ROLE kramo LOGIN PASSWORD " + work.quote(connection_.password));
        work.exec("CREATE DATABASE kramo OWNER kramo");
    }
    Run({Binaries + "psql", "-q", "-v", "ON_ERROR_STOP=1", "-h", folder_, "-p",
         std::to_string(connection_.port), "-U", "kramo", "-d", "kramo", "-v",
         "sale_name=" + saleName, "-f", schemaFile},
        folder_ + "/commands.log");
}

void PrivatePostgresServer::RunScript(const std::string& file) const {
    Run({Binaries + "psql", "-q", "-v", "ON_ERROR_STOP=1", "-h", folder_, "-p",
         std::to_string(connection_.port), "-U", "kramo", "-d", "kramo", "-f", file},
        folder_ + "/commands.log");
}

void PrivatePostgresServer::PgCtl(const std::string& action, const std::string& mode) {
    std::vector<std::string> command = {Binaries + "pg_ctl",     "-D", dataFolder_, "-l",
                                        folder_ + "/server.log", "-w"};
    if (!mode.empty()) {
        command.push_back("-m");
        command.push_back(mode);
    }
    // A restart takes the options of the start before it.
    if (action == "start") {
        command.push_back("-o");
        command.push_back("-c listen_addresses=127.0.0.1 -p " + std::to_string(connection_.port) +
                          " -k " + folder_ + " -c unix_socket_permissions=0700 -c fsync=off");
    }
    command.push_back(action);
    Run(AsServerUser(command), folder_ + "/commands.log");
}

void PrivatePostgresServer::Stop() {
    PgCtl("stop", "immediate");
    running_ = false;
}

void PrivatePostgresServer::Start() {
    PgCtl("start", "");
    running_ = true;
}

void PrivatePostgresServer::Restart() {
    PgCtl("restart", "fast");
}

std::string PrivatePostgresServer::Scalar(const std::string& sql) const {
    pqxx::connection session(connection_.ConnectionString());
    pqxx::work work(session);
    const pqxx::result result = work.exec(sql);
    return result[0][0].is_null() ? "NULL" : result[0][0].c_str();
}

}  // namespace KramoTest
