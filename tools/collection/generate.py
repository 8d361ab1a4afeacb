#!/usr/bin/env python3
"""Writes a synthetic collection of N biographies for load and start-up tests.

    python3 tools/collection/generate.py --count N --out DIR [--seed S] [--no-pages]

The output has the layout and byte formats of the bundled collection: the three
parallel catalogues (Windows-1252, CR LF) with the name list in the reader's order,
page paths with backslashes into sub-folders of dados/ (at most 1,000 pages each),
main.css, principal.htm and creditos.html, and a small page per biography unless
--no-pages is given. The same count and seed always give the same bytes.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from catalogue import sort_key  # noqa: E402

PAGES_PER_FOLDER = 1000

# (name, feminine?) -- only letters the reader folds, so every key is plain ASCII.
FIRST_NAMES = [
    ("José", 0), ("João", 0), ("Antônio", 0), ("Francisco", 0), ("Luís", 0), ("Sebastião", 0),
    ("Joaquim", 0), ("Inácio", 0), ("Benedito", 0), ("Raimundo", 0), ("Otávio", 0),
    ("Álvaro", 0), ("Fábio", 0), ("Cândido", 0), ("Estêvão", 0), ("Heitor", 0), ("Jônatas", 0),
    ("Márcio", 0), ("Caetano", 0), ("Domingos", 0), ("Severino", 0), ("Tomás", 0),
    ("Aurélio", 0), ("Vinícius", 0), ("Teotônio", 0), ("Américo", 0), ("Cláudio", 0),
    ("Sérgio", 0), ("Rogério", 0), ("Júlio", 0), ("Flávio", 0), ("Gonçalo", 0), ("Brás", 0),
    ("Lúcio", 0), ("Ênio", 0), ("Ulisses", 0), ("Wenceslau", 0), ("Nélson", 0), ("Zé", 0),
    ("Edmundo", 0), ("Ivo", 0), ("Olavo", 0), ("Romão", 0), ("Simão", 0), ("Adão", 0),
    ("Maria", 1), ("Conceição", 1), ("Ana", 1), ("Luísa", 1), ("Antônia", 1), ("Inês", 1),
    ("Cecília", 1), ("Lúcia", 1), ("Mônica", 1), ("Vitória", 1), ("Glória", 1), ("Célia", 1),
    ("Débora", 1), ("Fátima", 1), ("Graça", 1), ("Iracema", 1), ("Júlia", 1), ("Lívia", 1),
    ("Márcia", 1), ("Nair", 1), ("Olívia", 1), ("Patrícia", 1), ("Quitéria", 1),
    ("Rosália", 1), ("Sônia", 1), ("Tânia", 1), ("Úrsula", 1), ("Vânia", 1), ("Zélia", 1),
    ("Aparecida", 1), ("Bárbara", 1), ("Clarice", 1), ("Dalva", 1), ("Eugênia", 1),
    ("Francisca", 1), ("Helena", 1), ("Isaura", 1), ("Jussara", 1), ("Letícia", 1),
    ("Marília", 1), ("Noêmia", 1), ("Odete", 1), ("Regina", 1), ("Tereza", 1), ("Yara", 1),
]
SURNAMES = [
    "Silva", "Santos", "Oliveira", "Souza", "Araújo", "Gonçalves", "Conceição", "Magalhães",
    "Brandão", "Falcão", "Assunção", "Simões", "Gusmão", "Peçanha", "Lustosa", "Sá",
    "Nóbrega", "Ribeiro", "Gonzaga", "Sampaio", "Guimarães", "Barbosa", "Lins", "Mendonça",
    "Ferreira", "Pereira", "Alves", "Lima", "Gomes", "Costa", "Rodrigues", "Martins",
    "Carvalho", "Almeida", "Lopes", "Soares", "Fernandes", "Vieira", "Barros", "Freitas",
    "Pinto", "Moura", "Cavalcanti", "Dias", "Castro", "Campos", "Cardoso", "Correia",
    "Teixeira", "Monteiro", "Mendes", "Nascimento", "Moreira", "Rocha", "Cunha", "Nunes",
    "Macedo", "Queiroz", "Siqueira", "Aragão", "Antunes", "Bezerra", "Brito", "Coelho",
    "Damasceno", "Esteves", "Fonseca", "Galvão", "Holanda", "Jardim", "Leão", "Machado",
    "Medeiros", "Neves", "Paixão", "Quintão", "Rebouças", "Romão", "Tavares", "Valadão",
    "Xavier", "Bragança", "Cortês", "Dantas", "Estrela", "Figueiró", "Goulart", "Ilhéu",
    "Jatobá", "Lacerda", "Maciel", "Nogueira", "Pádua", "Resende", "Salgueiro", "Toledo",
    "Uchôa", "Vasconcelos", "Zanetti", "Amâncio", "Bulcão", "Cabral", "Diniz", "Évora",
    "Furtado", "Guerra", "Honório", "Inojosa", "Jucá", "Leitão", "Meireles", "Nóbile",
    "Pimentel", "Rangel", "Sarmento", "Tourinho", "Varela", "Viana",
]
FIRST_BY_GENDER = [[n for n, f in FIRST_NAMES if f == g] for g in (0, 1)]
CONNECTORS = ["da", "de", "do"]

ACTIVITIES = [
    ("escritor", "escritora"), ("poeta", "poetisa"), ("compositor", "compositora"),
    ("cantor", "cantora"), ("pintor", "pintora"), ("escultor", "escultora"),
    ("médico", "médica"), ("engenheiro", "engenheira"), ("professor", "professora"),
    ("jornalista", "jornalista"), ("político", "política"), ("atleta", "atleta"),
    ("arquiteto", "arquiteta"), ("historiador", "historiadora"), ("ator", "atriz"),
    ("cientista", "cientista"), ("músico", "musicista"), ("advogado", "advogada"),
    ("educador", "educadora"), ("fotógrafo", "fotógrafa"),
]
CITIES = [
    "Rio de Janeiro", "São Paulo", "Salvador", "Recife", "Belém", "Fortaleza", "São Luís",
    "Porto Alegre", "Curitiba", "Belo Horizonte", "Goiânia", "Cuiabá", "Manaus", "Maceió",
    "Natal", "João Pessoa", "Teresina", "Aracaju", "Vitória", "Florianópolis", "Ouro Preto",
    "Diamantina", "Petrópolis", "Campinas", "Santos", "Niterói", "Olinda", "Pelotas",
]


class Random:
    """splitmix64: small, fast and the same on every Python version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & 0xFFFFFFFFFFFFFFFF
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & 0xFFFFFFFFFFFFFFFF
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & 0xFFFFFFFFFFFFFFFF
        return z ^ (z >> 31)

    def below(self, n):
        return self.next() % n

    def pick(self, items):
        return items[self.below(len(items))]


def make_people(count, rng):
    """count people with distinct search keys, in creation order:
    (name bytes, key, feminine, activity index, city, year of birth, years lived)."""
    people = []
    seen = set()
    attempts = 0
    while len(people) < count:
        attempts += 1
        if attempts > count * 20 + 1000:
            raise SystemExit("cannot make %d distinct names from the word lists" % count)
        first, feminine = rng.pick(FIRST_NAMES)
        parts = [first]
        if rng.below(3) == 0:
            second = rng.pick(FIRST_BY_GENDER[feminine])
            if second != first:
                parts.append(second)
        if rng.below(4) == 0:
            parts.append(rng.pick(CONNECTORS))
        parts.append(rng.pick(SURNAMES))
        if rng.below(3) != 0:
            parts.append(rng.pick(SURNAMES))
        if parts[-1] == parts[-2]:
            continue
        name = " ".join(parts).encode("cp1252")
        key = sort_key(name)
        if key in seen:
            continue
        seen.add(key)
        born = 1700 + rng.below(290)
        lived = 30 + rng.below(65)
        people.append((name, key, feminine, rng.below(len(ACTIVITIES)), rng.pick(CITIES), born,
                       lived))
    return people


def crlf(text):
    return text.replace("\n", "\r\n").encode("cp1252")


MAIN_CSS = """\
body { font-family: Georgia, "Times New Roman", serif; color: #2B2420; }
h1 { color: #6F563A; font-size: 18pt; }
h2 { color: #6F563A; font-size: 14pt; }
a:link { color: #7A3B10; }
a:visited { color: #5B4A6E; }
p.nasc { font-style: italic; }
"""

PRINCIPAL = """\
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>Vultaria</title>
<link rel="stylesheet" type="text/css" href="main.css">
</head>
<body>
<h1>Vultaria &mdash; cole&ccedil;&atilde;o sint&eacute;tica</h1>
<p>Hoje &eacute; ##DATA, ##HORA.</p>
<p>Esta cole&ccedil;&atilde;o tem {count} biografias geradas automaticamente para testes.
Digite um nome em <b>Busca:</b> ou escolha um nome na <b>Lista de biografias:</b>.</p>
</body>
</html>
"""

CREDITOS = """\
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>Créditos</title>
<link rel="stylesheet" type="text/css" href="main.css">
</head>
<body>
<h1>Créditos</h1>
<p>Coleção sintética gerada por programa (semente {seed}), para testes do Vultaria.
Nenhuma das pessoas descritas existe.</p>
<p>Equipe Vultaria, 2026.</p>
</body>
</html>
"""

PAGE = """\
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>{name}</title>
<link rel="stylesheet" type="text/css" href="../../main.css">
</head>
<body>
<h1>{name}</h1>
<p class="nasc">{city}, {born} &ndash; {died}</p>
<p>{name} nasceu em {city} no ano de {born} e foi {activity}. Esta biografia
é fictícia e faz parte de uma coleção gerada para testes.</p>
<h2>Veja também</h2>
<ul>
<li><a href="{prev_path}">{prev_name}</a></li>
<li><a href="{next_path}">{next_name}</a></li>
</ul>
</body>
</html>
"""


def generate(count, out, seed, pages):
    rng = Random(seed)
    people = make_people(count, rng)
    # Page files are numbered in creation order, so that the catalogue's paths do not
    # simply follow the order of the names.
    paths = ["g%03d\\b%06d.htm" % (i // PAGES_PER_FOLDER, i) for i in range(count)]
    order = sorted(range(count), key=lambda i: people[i][1])

    os.makedirs(out, exist_ok=True)
    names = bytearray()
    files = bytearray()
    activities = bytearray()
    for i in order:
        name, _, feminine, activity, *_ = people[i]
        names += name + b"\r\n"
        files += paths[i].encode("ascii") + b"\r\n"
        activities += (" - <i>%s</i>" % ACTIVITIES[activity][feminine]).encode("cp1252") + b"\r\n"
    for file_name, data in [("lista_nome.txt", names), ("filemd5.txt", files),
                            ("lista_atuacao.txt", activities),
                            ("main.css", crlf(MAIN_CSS)),
                            ("principal.htm", crlf(PRINCIPAL.replace("{count}", str(count)))),
                            ("creditos.html", crlf(CREDITOS.replace("{seed}", str(seed))))]:
        with open(os.path.join(out, file_name), "wb") as f:
            f.write(data)

    if not pages:
        return
    dados = os.path.join(out, "dados")
    for folder in range((count + PAGES_PER_FOLDER - 1) // PAGES_PER_FOLDER):
        os.makedirs(os.path.join(dados, "g%03d" % folder), exist_ok=True)
    for position, i in enumerate(order):
        name, _, feminine, activity, city, born, lived = people[i]
        before = order[position - 1]
        after = order[(position + 1) % count]
        # Links are resolved against dados/, so they carry the folder; alternate the
        # separators as hand-made collections do.
        separator = "\\" if i % 2 else "/"
        text = PAGE.format(
            name=name.decode("cp1252"), city=city, born=born, died=born + lived,
            activity=ACTIVITIES[activity][feminine],
            prev_path=paths[before].replace("\\", separator),
            prev_name=people[before][0].decode("cp1252"),
            next_path=paths[after].replace("\\", separator),
            next_name=people[after][0].decode("cp1252"))
        with open(os.path.join(dados, paths[i].replace("\\", os.sep)), "wb") as f:
            f.write(crlf(text))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, required=True, help="number of biographies")
    parser.add_argument("--out", required=True, help="folder to write the collection into")
    parser.add_argument("--seed", type=int, default=1, help="seed of the names (default 1)")
    parser.add_argument("--no-pages", action="store_true", help="write only the catalogues "
                        "and the fixed files, no biography pages")
    args = parser.parse_args()
    if args.count < 1:
        parser.error("--count must be at least 1")
    start = time.perf_counter()
    generate(args.count, args.out, args.seed, not args.no_pages)
    print("%d biographies written to %s in %.2f s" % (args.count, args.out,
                                                      time.perf_counter() - start))


if __name__ == "__main__":
    main()
