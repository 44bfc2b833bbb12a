"""Local SMTP servers for the mail tests (aiosmtpd on 127.0.0.1, free ports).

Starts, in one process and with one trustme authority:
  plain     no TLS at all
  starttls  STARTTLS required before login
  tls       implicit TLS
  stall     accepts connections and never answers
  slow      answers as a server of STARTTLS would, each answer SLOW_SECONDS after what it
            answers (the greeting after the connection), and offers no TLS when asked
  lagging   as slow, but greets at once and answers LAG_SECONDS after each command
  http      a web server: waits for a request, answers it with 400 and closes
  hostile   greets with 554 and control characters (ESC, BEL, NUL, a bidirectional override)
Every SMTP server requires a login with the password given by --password.
A recipient whose local part is "refused" gets 550; one whose local part is "controls" gets
550 with control characters in the reply; one whose local part is "markup", 550 with markup a
reader of HTML would follow (an <img> naming "fifo", bold text). Each message taken is written to
OUT/NNNN.json (envelope, headers, body, login, password) with its attachments beside it as
OUT/NNNN-K.bin. Prints "READY plain=P starttls=P tls=P stall=P ca=PATH" and runs until its
standard input closes.
"""

import argparse
import asyncio
import json
import logging
import os
import warnings
import ssl
import sys
from email import message_from_bytes
from email.policy import default as default_policy
from functools import partial

import trustme
from aiosmtpd.smtp import SMTP, AuthResult

SLOW_SECONDS = 2.2
LAG_SECONDS = 3.0


class Store:
    def __init__(self, out):
        self.out = out
        self.count = 0

    def write(self, record, attachments):
        self.count += 1
        stem = os.path.join(self.out, "%04d" % self.count)
        record["attachments"] = []
        for k, (name, ctype, data) in enumerate(attachments):
            path = "%s-%d.bin" % (stem, k)
            with open(path, "wb") as handle:
                handle.write(data)
            record["attachments"].append({"name": name, "type": ctype, "path": path})
        with open(stem + ".tmp", "w", encoding="utf-8") as handle:
            json.dump(record, handle)
        os.rename(stem + ".tmp", stem + ".json")


class Handler:
    def __init__(self, store, kind):
        self.store = store
        self.kind = kind

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.split("@")[0] == "refused":
            return "550 5.1.1 mailbox unavailable"
        if address.split("@")[0] == "controls":
            return "550 5.1.1 \x1b[2J\x1b]0;owned\x07mailbox\x00 \x7fgone\x1b[0m"
        if address.split("@")[0] == "markup":
            return '550 5.1.1 <img src="fifo"> <b>bold</b> text'
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        message = message_from_bytes(envelope.original_content, policy=default_policy)
        body = message.get_body(preferencelist=("plain",))
        attachments = [(part.get_filename(), part.get_content_type(), part.get_payload(decode=True))
                       for part in message.iter_attachments()]
        login = getattr(session, "festiloom_login", None)
        self.store.write({
            "server": self.kind,
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "from": str(message["From"]),
            "to": str(message["To"]),
            "subject": str(message["Subject"]),
            "header_names": [name for name, _ in message.items()],
            "body": body.get_content() if body is not None else "",
            "body_charset": body.get_content_charset() if body is not None else "",
            "login": login,
            "password": getattr(session, "festiloom_password", None),
        }, attachments)
        return "250 Message accepted"


def authenticator(password):
    def check(server, session, envelope, mechanism, auth_data):
        try:
            given = auth_data.password.decode("utf-8")
            login = auth_data.login.decode("utf-8")
        except (AttributeError, UnicodeError):
            return AuthResult(success=False, handled=False)
        if given != password:
            return AuthResult(success=False, handled=False)
        session.festiloom_login = login
        session.festiloom_password = given
        return AuthResult(success=True)
    return check


async def main():
    logging.disable(logging.CRITICAL)
    warnings.simplefilter("ignore")
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--password", required=True)
    options = parser.parse_args()

    ca = trustme.CA()
    ca_path = os.path.join(options.out, "ca.pem")
    ca.cert_pem.write_to_path(ca_path)
    server_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    ca.issue_cert("127.0.0.1").configure_cert(server_context)

    store = Store(options.out)
    check = authenticator(options.password)
    loop = asyncio.get_running_loop()
    kinds = {
        "plain": dict(ssl=None, smtp=dict(auth_require_tls=False)),
        "starttls": dict(ssl=None, smtp=dict(tls_context=server_context, require_starttls=True)),
        "tls": dict(ssl=server_context, smtp=dict(auth_require_tls=False)),
    }
    ports = {}
    servers = []
    for kind, setup in kinds.items():
        def factory(kind=kind, setup=setup):
            return SMTP(Handler(store, kind), hostname="festiloom.test", authenticator=check,
                        auth_required=True, **setup["smtp"])
        server = await loop.create_server(factory, "127.0.0.1", 0, ssl=setup["ssl"])
        servers.append(server)
        ports[kind] = server.sockets[0].getsockname()[1]

    held = []

    async def stall(reader, writer):
        held.append(writer)
        await asyncio.sleep(3600)

    stall_server = await asyncio.start_server(stall, "127.0.0.1", 0)
    servers.append(stall_server)
    ports["stall"] = stall_server.sockets[0].getsockname()[1]

    async def late(greeting_seconds, answer_seconds, reader, writer):
        try:
            await asyncio.sleep(greeting_seconds)
            writer.write(b"220 festiloom.test ESMTP\r\n")
            await writer.drain()
            while line := await reader.readline():
                await asyncio.sleep(answer_seconds)
                command = line[:4].upper()
                if command in (b"EHLO", b"HELO"):
                    writer.write(b"250-festiloom.test\r\n250-STARTTLS\r\n250 AUTH PLAIN LOGIN\r\n")
                elif command == b"STAR":
                    writer.write(b"454 4.7.0 TLS not available now\r\n")
                elif command == b"QUIT":
                    writer.write(b"221 2.0.0 bye\r\n")
                else:
                    writer.write(b"250 2.0.0 OK\r\n")
                await writer.drain()
        except ConnectionError:
            pass
        writer.close()

    async def http(reader, writer):
        await reader.readline()
        writer.write(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
        await writer.drain()
        writer.close()

    async def hostile(reader, writer):
        writer.write("554 festiloom.test \x1b[31m\x07go\x00 away\u202e\x1b]0;owned\x07\r\n".encode("utf-8"))
        await writer.drain()
        await reader.readline()
        writer.close()

    for kind, serve in (("http", http), ("hostile", hostile), ("slow", partial(late, SLOW_SECONDS, SLOW_SECONDS)),
                        ("lagging", partial(late, 0, LAG_SECONDS))):
        server = await asyncio.start_server(serve, "127.0.0.1", 0)
        servers.append(server)
        ports[kind] = server.sockets[0].getsockname()[1]

    print("READY " + " ".join("%s=%d" % item for item in ports.items()) + " ca=" + ca_path, flush=True)
    await loop.run_in_executor(None, sys.stdin.buffer.read)
    for server in servers:
        server.close()


if __name__ == "__main__":
    asyncio.run(main())
