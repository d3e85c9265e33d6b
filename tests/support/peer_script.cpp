// The HTTPS (or plain HTTP) fake of the e-invoice API and other pages, run by Peer with /usr/bin/python3.
namespace korvan::test {

extern const char* const kPeerScript;
const char* const kPeerScript = R"PY(
import base64, json, os, ssl, sys, threading, time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlsplit, parse_qs

folder = sys.argv[1]
lock = threading.Lock()
served = {}
stopping = threading.Event()
API = "/api/publicApi/"

def envelope(direction, inv_id):
    word = "Sales" if direction == "sales" else "Purchase"
    return ('<?xml version="1.0" encoding="utf-8"?>\r\n'
            '<env:DocumentEnvelope xmlns:env="urn:eFaktura:MinFinrs:envelop:schema">\r\n'
            '<env:DocumentHeader><env:%sInvoiceId>%s</env:%sInvoiceId></env:DocumentHeader>\r\n'
            '<env:DocumentBody><Invoice><cbc:ID>R-%s</cbc:ID></Invoice></env:DocumentBody>\r\n'
            '</env:DocumentEnvelope>\r\n') % (word, inv_id, word, inv_id)

def default_answer(method, path, query):
    rest = path[len(API):] if path.startswith(API) else path
    inv = (query.get("invoiceId") or ["0"])[0]
    direction = "sales" if rest.startswith("sales") else "purchase"
    js = lambda o: {"status": 200, "body": json.dumps(o), "type": "application/json"}
    if method == "POST" and rest == "sales-invoice/ubl/upload":
        return js({"InvoiceId": 9001, "PurchaseInvoiceId": 0, "SalesInvoiceId": 9001})
    if method == "GET" and rest in ("sales-invoice", "purchase-invoice"):
        return js({"InvoiceId": int(inv) if inv.isdigit() else 0,
                   "Status": "Sent" if direction == "sales" else "Seen", "Comment": None})
    if method == "GET" and rest in ("sales-invoice/xml", "purchase-invoice/xml"):
        return {"status": 200, "body": envelope(direction, inv), "type": "application/xml"}
    if method == "POST" and rest in ("sales-invoice/cancel", "sales-invoice/storno"):
        return js({"ReceiverId": 1, "Status": "Cancelled" if rest.endswith("cancel") else "Storno"})
    if method == "POST" and rest == "purchase-invoice/acceptRejectPurchaseInvoice":
        return js({"Success": True})
    if method == "POST" and rest in ("sales-invoice/ids", "purchase-invoice/ids"):
        key = "SalesInvoiceIds" if direction == "sales" else "PurchaseInvoiceIds"
        return js({key: []})
    if method == "POST" and rest.startswith(("sales-invoice/changes", "purchase-invoice/changes")):
        return js([])
    return {"status": 404, "body": json.dumps({"ErrorCode": "NotFound", "Message": "No route " + path}),
            "type": "application/json"}

def scripted(method, path, query):
    try:
        with open(os.path.join(folder, "cases.json"), encoding="utf-8") as f:
            cases = json.load(f)
    except (OSError, ValueError):
        return None
    # A case for the path with its query (one invoice, one day) wins over the path's.
    key = method + " " + path + "?" + query
    answers = cases.get(key) if query else None
    if not answers:
        key = method + " " + path
        answers = cases.get(key)
    if not answers:
        return None
    with lock:
        n = served.get(key, 0)
        served[key] = n + 1
    return answers[min(n, len(answers) - 1)]

class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def handle_any(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        parts = urlsplit(self.path)
        query = parse_qs(parts.query, keep_blank_values=True)
        entry = {"method": self.command, "path": parts.path, "query": parts.query,
                 "headers": [[k, v] for k, v in self.headers.items()],
                 "body": base64.b64encode(body).decode("ascii")}
        with lock:
            with open(os.path.join(folder, "log.jsonl"), "a", encoding="utf-8") as f:
                f.write(json.dumps(entry) + "\n")
        answer = scripted(self.command, parts.path, parts.query) or default_answer(self.command, parts.path, query)
        if answer.get("drop"):
            self.close_connection = True
            return
        if answer.get("never"):
            while not stopping.wait(0.2):
                pass
            return
        if answer.get("delay_ms"):
            time.sleep(answer["delay_ms"] / 1000.0)
        data = base64.b64decode(answer["body_b64"]) if "body_b64" in answer else answer.get("body", "").encode("utf-8")
        self.send_response(answer.get("status", 200))
        self.send_header("Content-Type", answer.get("type", "application/json"))
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)
        self.wfile.flush()

    do_GET = handle_any
    do_POST = handle_any

class Server(ThreadingHTTPServer):
    daemon_threads = True

server = Server(("127.0.0.1", 0), Handler)
if len(sys.argv) < 3 or sys.argv[2] != "http":
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(os.path.join(folder, "server.pem"), os.path.join(folder, "server.key"))
    server.socket = ctx.wrap_socket(server.socket, server_side=True)
with open(os.path.join(folder, "port.tmp"), "w") as f:
    f.write(str(server.server_address[1]))
os.replace(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))
def watch_parent():
    # The parent holds our standard input: when it goes, so do we.
    sys.stdin.buffer.read()
    os._exit(0)

threading.Thread(target=watch_parent, daemon=True).start()
try:
    server.serve_forever(0.1)
finally:
    stopping.set()
)PY";

}  // namespace korvan::test
