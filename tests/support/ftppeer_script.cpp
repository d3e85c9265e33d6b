// The FTP server of FtpPeer, run with /usr/bin/python3.
namespace korvan::test {

extern const char* const kFtpPeerScript;
const char* const kFtpPeerScript = R"PY(
import logging, os, socket, sys, threading
folder, mode, user, password = sys.argv[1:5]
root = os.path.join(folder, "root")

def announce(port):
    with open(os.path.join(folder, "port.tmp"), "w") as f:
        f.write(str(port))
    os.replace(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))

def wait_for_stdin_close():
    sys.stdin.buffer.read()
    os._exit(0)

if mode == "silent":
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    s.listen(16)
    announce(s.getsockname()[1])
    threading.Thread(target=wait_for_stdin_close, daemon=True).start()
    held = []
    while True:
        c, _ = s.accept()
        held.append(c)

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

def cut_names():
    try:
        with open(os.path.join(folder, "cut.txt"), encoding="utf-8") as f:
            return set(l.strip() for l in f if l.strip())
    except OSError:
        return set()

class Handler(FTPHandler):
    auth_failed_timeout = 0.1
    def ftp_RETR(self, file):
        if os.path.basename(file) in cut_names():
            with open(file, "rb") as f:
                data = f.read()
            self.push_dtp_data(data[:len(data) // 2], isproducer=False, cmd="RETR")
            return file
        return FTPHandler.ftp_RETR(self, file)
    def on_file_sent(self, file):
        with open(os.path.join(folder, "sent.txt"), "a", encoding="utf-8") as f:
            f.write(os.path.relpath(file, root) + "\n")

logging.basicConfig(level=logging.WARNING)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm="elradfmw")
Handler.authorizer = authorizer
server = FTPServer(("127.0.0.1", 0), Handler)
announce(server.socket.getsockname()[1])
threading.Thread(target=wait_for_stdin_close, daemon=True).start()
server.serve_forever(timeout=0.1)
)PY";

}  // namespace korvan::test
